#pragma once

#include "core/journal/journal.h"
#include "core/journal/journallocation.h"
#include "core/journal/journalrecord.h"

#include <memory>
#include <optional>

// The window's journal. It is opened by the first job that needs it, and
// opened, written and closed on the transfer runner's thread alone: the
// window never waits on the database. One that fails is given up until its
// location changes, and named once.
class WindowJournal
{
public:
    explicit WindowJournal(const JournalLocation &location);

    // On the window's thread: where it is, as the window shows it and hands
    // it to the station. A new location is taken up by the next job; the
    // journal open until then is closed there.
    const JournalLocation &location() const { return m_location; }
    void setLocation(const JournalLocation &location);

    // What runs on the runner's thread lives here, kept alive by every job
    // that holds it.
    struct OnWorker;

    // A job's hold on the journal: made on the window's thread, used on the
    // runner's alone.
    class Use
    {
    public:
        // The record of an operation begun, or one that records nothing
        // once the journal failed.
        JournalRecord begin(const JournalEntry &start);
        void finish(JournalRecord &record);
        // Whether the journal can be had now: opened for a view of it.
        bool available();
        // The last download that a module with this identifier took, with
        // its content. A journal that could not be read says so, rather than
        // seem to hold none; a journal that is off holds none.
        struct LastDownload
        {
            bool read = false;
            std::optional<JournalEntry> entry;
        };
        LastDownload lastDownload(const QString &moduleId);
        // The failure to name, once; nothing when there is none new.
        std::optional<JournalProblem> takeFailure();
        // Closes the journal: as the runner goes.
        void close();

    private:
        friend class WindowJournal;
        Journal *opened();
        void fail();

        std::shared_ptr<OnWorker> m_side;
        JournalLocation m_location;
        quint64 m_generation = 0;
    };
    Use use() const;

private:
    JournalLocation m_location;
    quint64 m_generation = 1;
    std::shared_ptr<OnWorker> m_side;
};
