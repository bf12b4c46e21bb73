#include "transferrunner.h"

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
    // Posted behind any job, so that it runs once they have ended.
    QMetaObject::invokeMethod(m_worker.get(), [this] {
        for (const std::function<void()> &last : m_atEnd)
            last();
        m_thread.quit();
    }, Qt::QueuedConnection);
    m_thread.wait();
    // m_worker goes after this, its thread ended.
}

bool TransferRunner::start(std::function<void()> job, std::function<void()> done)
{
    if (m_busy)
        return false;
    m_busy = true;
    // The end is posted back, so the caller sees it only from its own loop.
    QMetaObject::invokeMethod(m_worker.get(), [this, job = std::move(job), done = std::move(done)] {
        job();
        QMetaObject::invokeMethod(this, [this, done] {
            m_busy = false;
            done();
            emit idle();
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    return true;
}

void TransferRunner::atEnd(std::function<void()> last)
{
    m_atEnd.push_back(std::move(last));
}

void TransferRunner::tell(QObject *receiver, std::function<void()> work)
{
    QMetaObject::invokeMethod(receiver, std::move(work), Qt::QueuedConnection);
}
