#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <utility>

class TransferRunner;

// Jobs off the window's thread, one after another in the order asked for,
// each followed by what it leads to, back on the window's thread: a batch
// opens once the last one's journal has closed, and a database that hangs
// keeps the worker, never the window.
class WorkerQueue
{
public:
    WorkerQueue();
    ~WorkerQueue();
    WorkerQueue(const WorkerQueue &) = delete;
    WorkerQueue &operator=(const WorkerQueue &) = delete;

    void run(std::function<void()> job, std::function<void()> done);

private:
    void next();

    std::unique_ptr<TransferRunner> m_worker;
    std::deque<std::pair<std::function<void()>, std::function<void()>>> m_queue;
};
