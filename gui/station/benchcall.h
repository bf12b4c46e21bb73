#pragma once

#include <QWidget>

#include <functional>

// How the station calls the technician, in a way that can be told apart
// without looking: each event has its own sound from the desktop's sound
// theme (libcanberra's event sounds; the bell only where no theme answers),
// and the window asks for attention (the task bar flashes) whenever it is
// not the active window, the program's main window in front included. Each
// can be switched off. The sound and the alert are the platform's, unless a
// test watches them.
class BenchCall
{
public:
    enum class Event { Proven, Failed, NotSwapped, BatchDone };
    using Sound = std::function<void(Event event)>;
    using Alert = std::function<void(QWidget *window)>;

    explicit BenchCall(QWidget *window);
    ~BenchCall();
    BenchCall(const BenchCall &) = delete;
    BenchCall &operator=(const BenchCall &) = delete;

    void setAttention(bool on) { m_attention = on; }
    void setSound(bool on) { m_sound = on; }
    void setAlert(Alert alert) { m_alert = std::move(alert); }
    void setSoundPlayer(Sound sound) { m_play = std::move(sound); }
    void call(Event event);

    // The sound theme's name for each event ("complete", "dialog-error", …).
    static const char *soundName(Event event);

private:
    QWidget *m_window;
    Alert m_alert;
    Sound m_play;
    bool m_attention = true;
    bool m_sound = true;
};
