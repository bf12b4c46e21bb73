#include "dlthread.h"

#include "core/link/moduleexchange.h"
#include "core/link/seriallink.h"
#include "core/operations/transferrunner.h"
#include "screenpace.h"

#include <QProgressBar>

namespace {

// Forwards the steps to the progress bar's own thread, at most at the
// screen's pace; the step that fills the bar always goes.
class QueuedProgress : public DownloadProgress
{
public:
    QueuedProgress(const QPointer<QProgressBar> &bar, QObject *relay) : m_bar(bar), m_relay(relay) {}

    void setRange(int maximum) override
    {
        m_maximum = maximum;
        onBar([maximum](QProgressBar &bar) { bar.setRange(0, maximum); });
    }
    void reset() override
    {
        onBar([](QProgressBar &bar) { bar.reset(); });
    }
    void setValue(int value) override
    {
        if (value < m_maximum && !m_pace.due())
            return;
        onBar([value = std::min(value, m_maximum)](QProgressBar &bar) { bar.setValue(value); });
    }

private:
    void onBar(std::function<void(QProgressBar &)> change)
    {
        TransferRunner::tell(m_relay, [bar = m_bar, change = std::move(change)] {
            if (bar)
                change(*bar);
        });
    }

    QPointer<QProgressBar> m_bar;
    QObject *m_relay;
    int m_maximum = 0;
    ScreenPace m_pace;
};

} // namespace

dlThread::dlThread(const LinkSettings &settings, const TransferPlan &plan, QProgressBar *bar, QObject *relay)
    : m_bar(bar)
    , m_relay(relay)
    , m_settings(settings)
    , m_plan(plan)
{
}

void dlThread::abandon()
{
    m_interrupt.trigger();
}

void dlThread::run()
{
    QueuedProgress progress(m_bar, m_relay);
    SerialLink link(&m_interrupt);
    m_report = downloadToModule(link, m_settings, m_plan, progress);
    m_result = m_report.ending == Ending::Done;
}
