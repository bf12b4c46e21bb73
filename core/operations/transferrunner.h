#pragma once

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

// Where a front's transfers run: one job at a time, on a worker thread that
// also holds the journal's connection, so that the front's own thread never
// waits on the line or on the database. The caller goes on serving its
// events while a job runs, and no second job starts until the first ended.
class TransferRunner : public QObject
{
    Q_OBJECT

public:
    explicit TransferRunner(QObject *parent = nullptr);
    ~TransferRunner() override;

    bool isBusy() const { return m_busy; }
    // Runs `job` on the worker and returns once it has ended, the caller's
    // events served meanwhile. False, without running it, while another job
    // runs.
    bool run(const std::function<void()> &job);
    // Starts `job` on the worker and returns at once; `done` follows on the
    // caller's thread once the job has ended. False, without starting it,
    // while another job runs.
    bool start(std::function<void()> job, std::function<void()> done);
    // Returns once no job runs, the caller's events served meanwhile.
    void waitIdle();
    // Calls `work` on the caller's thread, from the worker, for a job's
    // progress; dropped once `receiver` is gone.
    static void tell(QObject *receiver, std::function<void()> work);

signals:
    void idle();

private:
    QThread m_thread;
    std::unique_ptr<QObject> m_worker;  // lives on m_thread: jobs are posted to it
    bool m_busy = false;
};
