#include "workerqueue.h"

#include "core/operations/transferrunner.h"

WorkerQueue::WorkerQueue()
    : m_worker(std::make_unique<TransferRunner>())
{
}

WorkerQueue::~WorkerQueue() = default;

void WorkerQueue::run(std::function<void()> job, std::function<void()> done)
{
    m_queue.emplace_back(std::move(job), std::move(done));
    next();
}

void WorkerQueue::next()
{
    if (m_worker->isBusy() || m_queue.empty())
        return;
    auto [job, done] = std::move(m_queue.front());
    m_queue.pop_front();
    m_worker->start(std::move(job), [this, done = std::move(done)] {
        done();
        next();
    });
}
