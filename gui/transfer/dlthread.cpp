#include "dlthread.h"

#include "dload.h"
#include "core/link/moduleexchange.h"
#include "screenpace.h"
#include "core/link/seriallink.h"

#include <QMetaObject>
#include <QProgressBar>

namespace {

// Forwards the steps to the progress bar's own thread, at most at the
// screen's pace; the step that fills the bar always goes.
class QueuedProgress : public DownloadProgress
{
public:
    explicit QueuedProgress(QProgressBar *bar) : m_bar(bar) {}

    void setRange(int maximum) override
    {
        m_maximum = maximum;
        QMetaObject::invokeMethod(m_bar, "setRange", Qt::QueuedConnection, Q_ARG(int, 0),
                                  Q_ARG(int, maximum));
    }
    void reset() override { QMetaObject::invokeMethod(m_bar, "reset", Qt::QueuedConnection); }
    void setValue(int value) override
    {
        if (value < m_maximum && !m_pace.due())
            return;
        QMetaObject::invokeMethod(m_bar, "setValue", Qt::QueuedConnection, Q_ARG(int, std::min(value, m_maximum)));
    }

private:
    QProgressBar *m_bar;
    int m_maximum = 0;
    ScreenPace m_pace;
};

} // namespace

dlThread::dlThread(const LinkSettings &settings, const TransferPlan &plan, dload *owner)
    : m_owner(owner)
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
    QueuedProgress progress(m_owner->progressBar());
    SerialLink link(&m_interrupt);
    m_report = downloadToModule(link, m_settings, m_plan, progress);
    m_result = m_report.ending == Ending::Done;
}
