#include "dlthread.h"

#include "dload.h"
#include "transfer/moduleexchange.h"

#include <QMetaObject>
#include <QProgressBar>

namespace {

// Forwards each step to the progress bar's own thread.
class QueuedProgress : public DownloadProgress
{
public:
    explicit QueuedProgress(QProgressBar *bar) : m_bar(bar) {}

    void setRange(int maximum) override
    {
        QMetaObject::invokeMethod(m_bar, "setRange", Qt::QueuedConnection, Q_ARG(int, 0),
                                  Q_ARG(int, maximum));
    }
    void reset() override { QMetaObject::invokeMethod(m_bar, "reset", Qt::QueuedConnection); }
    void setValue(int value) override
    {
        QMetaObject::invokeMethod(m_bar, "setValue", Qt::QueuedConnection, Q_ARG(int, value));
    }

private:
    QProgressBar *m_bar;
};

} // namespace

dlThread::dlThread(const LinkSettings &settings, dload *owner)
    : m_owner(owner)
    , m_settings(settings)
{
}

dlThread::~dlThread()
{
    abandon();
    wait();
}

void dlThread::abandon()
{
    m_interrupt.trigger();
}

void dlThread::run()
{
    QueuedProgress progress(m_owner->progressBar());
    m_result = downloadToModule(m_settings, progress, &m_interrupt);
}
