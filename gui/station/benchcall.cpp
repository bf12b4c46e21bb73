#include "benchcall.h"

#include <QApplication>
#include <QWindow>

#include <canberra.h>

#include <memory>

namespace {

// One libcanberra context for the program; the bell where none can be made
// or no theme has the sound.
void playFromTheme(BenchCall::Event event)
{
    static const std::unique_ptr<ca_context, decltype(&ca_context_destroy)> context = [] {
        ca_context *made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS)
            made = nullptr;
        else
            ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "Tavir-340", CA_PROP_APPLICATION_ID, "com.example.tavir340", nullptr);
        return std::unique_ptr<ca_context, decltype(&ca_context_destroy)>(made, &ca_context_destroy);
    }();
    if (!context || ca_context_play(context.get(), 0, CA_PROP_EVENT_ID, BenchCall::soundName(event), CA_PROP_EVENT_DESCRIPTION,
                                    "Tavir-340 station", nullptr)
                        != CA_SUCCESS)
        QApplication::beep();
}

// The task bar flashes while the station is not the active window, even
// when another window of this program is (QApplication::alert would not).
void askForAttention(QWidget *window)
{
    if (window->isActiveWindow())
        return;
    if (QWindow *handle = window->windowHandle())
        handle->alert(0);
}

} // namespace

BenchCall::BenchCall(QWidget *window)
    : m_window(window)
    , m_alert(askForAttention)
    , m_play(playFromTheme)
{
}

BenchCall::~BenchCall() = default;

const char *BenchCall::soundName(Event event)
{
    switch (event) {
    case Event::Proven: return "complete";
    case Event::Failed: return "dialog-error";
    case Event::NotSwapped: return "dialog-warning";
    case Event::BatchDone: return "dialog-information";
    }
    return "bell";
}

void BenchCall::call(Event event)
{
    if (m_attention)
        m_alert(m_window);
    if (m_sound)
        m_play(event);
}
