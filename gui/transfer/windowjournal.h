#pragma once

#include "core/journal/journal.h"
#include "core/journal/journallocation.h"
#include "core/journal/journalrecord.h"

#include <memory>
#include <optional>

class TransferRunner;

// The window's journal. It is opened for the first transfer, and opened,
// written and closed on the transfer runner's thread alone: the window
// never waits on the database. One that fails is given up until its
// location changes, and named once.
class WindowJournal
{
public:
    WindowJournal(TransferRunner &runner, const JournalLocation &location);
    ~WindowJournal();
    WindowJournal(const WindowJournal &) = delete;
    WindowJournal &operator=(const WindowJournal &) = delete;

    const JournalLocation &location() const { return m_location; }
    void setLocation(const JournalLocation &location);

    // On the window's thread: the record of an operation begun, or one that
    // records nothing once the journal failed.
    JournalRecord begin(const JournalEntry &start);
    void finish(JournalRecord &record);
    // Whether the journal can be had now: opened for a view of it.
    bool available();
    // The last download that a module with this identifier took, with its
    // content. A journal that could not be read says so, rather than seem
    // to hold none; a journal that is off holds none.
    struct LastDownload
    {
        bool read = false;
        std::optional<JournalEntry> entry;
    };
    LastDownload lastDownload(const QString &moduleId);
    // The failure to name, once; nothing when there is none new.
    std::optional<JournalProblem> takeFailure();

private:
    Journal *opened();  // on the runner's thread
    void fail();

    TransferRunner &m_runner;
    JournalLocation m_location;
    std::unique_ptr<Journal> m_journal;
    bool m_givenUp = false;
    std::optional<JournalProblem> m_untold;
};
