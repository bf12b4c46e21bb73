#pragma once

#include "journal.h"
#include "journallocation.h"
#include "journalsink.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// One journal for every port of a run, safe from any thread. A writer thread
// of its own holds the connection and writes what the ports hand it in
// batches: sixty-four ports that start or end together wait for the disk
// once, not sixty-four times, and no port's transfer waits for another's
// entry. Each call returns once its entry is on the disk.
class SharedJournal : public JournalSink
{
public:
    explicit SharedJournal(const JournalLocation &location);
    ~SharedJournal() override;
    SharedJournal(const SharedJournal &) = delete;
    SharedJournal &operator=(const SharedJournal &) = delete;

    bool isOpen() const;
    qint64 begin(const JournalEntry &entry) override;
    bool complete(const JournalEntry &entry) override;
    JournalProblem problem() const override;
    // As Journal::claim and Journal::release, from any thread.
    std::optional<Journal::Claim> claim(JournalEntry &entry, bool again);
    void release(const QString &unit);

private:
    struct Request
    {
        enum class Kind { Begin, Complete, Claim, Release };
        Request(Kind kind, JournalEntry *entry, bool again = false) : kind(kind), entry(entry), again(again) {}
        Kind kind = Kind::Begin;
        JournalEntry *entry = nullptr;
        bool again = false;
        bool done = false;
        qint64 id = 0;
        bool ok = false;
        std::optional<Journal::Claim> claim;
    };

    void write(const JournalLocation &location);
    void submit(Request &request);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Request *> m_pending;
    bool m_ready = false;
    bool m_stopping = false;
    JournalProblem m_problem;
    std::thread m_writer;
};
