#include "transferrunner.h"

#include <QEventLoop>

TransferRunner::TransferRunner(QObject *parent)
    : QObject(parent)
    , m_worker(std::make_unique<QObject>())
{
    m_thread.setObjectName(QStringLiteral("transfers"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

TransferRunner::~TransferRunner()
{
    m_thread.quit();
    m_thread.wait();  // no job runs now: run() returns only once its job ended
    // m_worker goes after this, its thread ended.
}

bool TransferRunner::run(const std::function<void()> &job)
{
    if (m_busy)
        return false;
    m_busy = true;
    QEventLoop loop;
    // Posted to the loop, the end is seen only while the loop runs.
    QMetaObject::invokeMethod(m_worker.get(), [&job, &loop] {
        job();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    loop.exec();
    m_busy = false;
    return true;
}

void TransferRunner::tell(QObject *receiver, std::function<void()> work)
{
    QMetaObject::invokeMethod(receiver, std::move(work), Qt::QueuedConnection);
}
