#pragma once

#include "core/journal/journallocation.h"
#include "core/journal/journalsink.h"
#include "windowjournal.h"

#include <QCoreApplication>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class InputHold;
class QWidget;
class TransferRunner;

// The window's jobs: every transfer and every look at the journal runs on
// the one transfer runner, and its end comes back to the window's thread as
// a call; the window never waits for a job. One busy state covers a job
// from its start to its last box: meanwhile the window takes no keys,
// clicks or shortcuts, so no second job starts inside the first.
class WindowJobs
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    explicit WindowJobs(QWidget *window);
    // Whatever still runs is ended first (the interrupt), then waited for:
    // nothing a job uses goes before the job.
    ~WindowJobs();
    WindowJobs(const WindowJobs &) = delete;
    WindowJobs &operator=(const WindowJobs &) = delete;

    TransferRunner &runner() { return *m_runner; }
    // An object of the window's thread that outlives every job: where a
    // job's progress is sent.
    QObject *relay();

    const JournalLocation &journalLocation() const { return m_journal.location(); }
    void setJournalLocation(const JournalLocation &location) { m_journal.setLocation(location); }
    WindowJournal::Use journal() const { return m_journal.use(); }

    bool isBusy() const { return m_hold != nullptr; }
    // A job begins: false, and nothing held, while another is under way.
    // `stop` ends it early when the window must close (an interrupt, its
    // dialog closed).
    bool begin(std::function<void()> stop = {});
    // Its stop from now on, for a job that changes what stopping means.
    void setStop(std::function<void()> stop) { m_stop = std::move(stop); }
    // The job has ended, boxes and all.
    void end();
    // `work` on the runner's thread, then `then` on the window's: never
    // once the window is gone.
    void run(std::function<void()> work, std::function<void()> then);

    // The window wants to close: the job under way ends as soon as it can
    // and shows no more boxes; `then` follows once nothing runs, at once
    // when nothing does.
    void stop(std::function<void()> then);
    bool isStopping() const { return static_cast<bool>(m_afterStop); }
    // Told each time the last job has ended.
    void setIdleHandler(std::function<void()> idle) { m_idle = std::move(idle); }

    // A journal that fails is named once; transfers then go on unrecorded.
    void tellJournalFailure(const std::optional<JournalProblem> &problem);

private:
    QWidget *m_window;
    WindowJournal m_journal;
    std::unique_ptr<TransferRunner> m_runner;
    std::unique_ptr<InputHold> m_hold;
    std::function<void()> m_stop;
    std::function<void()> m_afterStop;
    std::function<void()> m_idle;
};
