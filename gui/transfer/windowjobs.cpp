#include "windowjobs.h"

#include "core/operations/transferrunner.h"
#include "gui/dialogs/messagebox.h"
#include "gui/texts/windowtexts.h"
#include "inputhold.h"

WindowJobs::WindowJobs(QWidget *window)
    : m_window(window)
    , m_journal(::journalLocation({}, false))
    , m_runner(std::make_unique<TransferRunner>())
{
    // The journal is closed where it was opened.
    m_runner->atEnd([journal = m_journal.use()]() mutable { journal.close(); });
}

WindowJobs::~WindowJobs()
{
    if (m_stop)
        m_stop();
    m_runner.reset();
}

QObject *WindowJobs::relay()
{
    return m_runner.get();
}

bool WindowJobs::begin(std::function<void()> stop)
{
    if (m_hold)
        return false;
    m_hold = std::make_unique<InputHold>(m_window);
    m_stop = std::move(stop);
    return true;
}

void WindowJobs::end()
{
    m_hold.reset();
    m_stop = {};
    if (m_afterStop)
        std::exchange(m_afterStop, {})();
    if (m_idle)
        m_idle();
}

void WindowJobs::run(std::function<void()> work, std::function<void()> then)
{
    // A job is started only once the one before it has ended; the runner
    // refusing it would be a fault of ours.
    const bool started = m_runner->start(std::move(work), std::move(then));
    Q_ASSERT(started);
}

void WindowJobs::stop(std::function<void()> then)
{
    if (!m_hold) {
        then();
        return;
    }
    m_afterStop = std::move(then);
    if (m_stop)
        m_stop();
}

void WindowJobs::tellJournalFailure(const std::optional<JournalProblem> &problem)
{
    if (problem && !isStopping())
        Message::warning(m_window, tr("Napló"), WindowText::journalUnavailable(m_journal.location().shownName(), *problem));
}
