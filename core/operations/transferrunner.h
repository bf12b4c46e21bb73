#pragma once

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <vector>

// Where a front's transfers run: one job at a time, on a worker thread that
// also holds the journal's connection, so that the front's own thread never
// waits on the line or on the database. A job is started and its end comes
// back to the front's thread as a call: the front goes on serving its events
// meanwhile, and never waits for a job inside a loop of its own.
class TransferRunner : public QObject
{
    Q_OBJECT

public:
    explicit TransferRunner(QObject *parent = nullptr);
    // Runs what atEnd() was given on the worker, after any job still
    // queued, and waits for the worker's end. A front lets its job end
    // first (an interrupt, a close that waits for the end): this wait is
    // the last resort of a program that goes while a job runs.
    ~TransferRunner() override;

    bool isBusy() const { return m_busy; }
    // Starts `job` on the worker and returns at once; `done` follows on the
    // caller's thread once the job has ended, and not at all once the
    // runner is gone. False, without starting it, while another job runs.
    bool start(std::function<void()> job, std::function<void()> done);
    // Runs `last` on the worker as the runner goes: what jobs opened there
    // (a database connection) is closed there.
    void atEnd(std::function<void()> last);
    // Calls `work` on the caller's thread, from the worker, for a job's
    // progress; dropped once `receiver` is gone. The receiver must outlive
    // the job: the runner itself, or what owns it.
    static void tell(QObject *receiver, std::function<void()> work);

signals:
    void idle();

private:
    QThread m_thread;
    std::unique_ptr<QObject> m_worker;  // lives on m_thread: jobs are posted to it
    std::vector<std::function<void()>> m_atEnd;
    bool m_busy = false;
};
