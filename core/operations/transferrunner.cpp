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
    QEventLoop loop;
    if (!start(job, [&loop] { loop.quit(); }))
        return false;
    loop.exec();
    return true;
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

void TransferRunner::waitIdle()
{
    if (!m_busy)
        return;
    QEventLoop loop;
    connect(this, &TransferRunner::idle, &loop, &QEventLoop::quit);
    loop.exec();
}

void TransferRunner::tell(QObject *receiver, std::function<void()> work)
{
    QMetaObject::invokeMethod(receiver, std::move(work), Qt::QueuedConnection);
}
