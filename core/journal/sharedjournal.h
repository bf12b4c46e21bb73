#pragma once

#include "journal.h"
#include "journallocation.h"
#include "journalsink.h"
#include "processidentity.h"

#include <QHash>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

// One journal for every port of a run, safe from any thread. A writer thread
// of its own holds the connection and writes what the ports hand it: what
// comes together is written in one transaction, so that sixty-four ports
// that start or end together wait for the disk once; when that transaction
// fails, each request is written again on its own, so that one port's
// failure is never another's. A connection that drops is opened again.
// Each call returns once its entry is on the disk.
//
// The claims this run takes are renewed six times a lease (Journal::leaseMs) until
// they are released; a renewal that fails (a dropped connection) is tried
// again on a new connection every Journal::RenewRetryMs. A claim is this
// run's only while holds() says so: until the database says another run has
// it, and no longer than the lease the database last confirmed, less
// Journal::FenceMarginMs, on the boot clock. A run frozen past that time
// finds on waking that it holds nothing, and sends nothing more.
class SharedJournal : public JournalSink
{
public:
    explicit SharedJournal(const JournalLocation &location);
    ~SharedJournal() override;
    SharedJournal(const SharedJournal &) = delete;
    SharedJournal &operator=(const SharedJournal &) = delete;

    bool isOpen() const;
    // See Journal::mendedFromMode.
    int mendedFromMode() const { return m_mendedFromMode; }
    qint64 begin(const JournalEntry &entry) override;
    bool complete(const JournalEntry &entry) override;
    JournalProblem problem() const override;

    std::optional<Journal::ClaimResult> claim(JournalEntry &entry, bool again, bool changedToo);
    // Renews the unit's claim now; false when it is no longer this run's.
    bool renew(const QString &unit);
    // Whether the unit's claim is still this run's, now; safe from any thread.
    bool holds(const QString &unit) const;
    void release(const QString &unit);
    // See Journal::unitHolding; empty also when the journal cannot say.
    QString unitHolding(const QString &recordSha256, const QString &unit);
    // How long `thread` has been waiting for the journal to take its
    // request; 0 while it waits for none. Safe from any thread.
    qint64 waitingMs(std::thread::id thread) const;

private:
    struct Request;
    using Work = std::function<bool(Journal &, Request &)>;

    // Runs `work` on the writer's connection; its result.
    bool submit(const Work &work, Request *request = nullptr);
    void write(const JournalLocation &location);
    bool perform(Journal &journal, std::deque<Request *> &batch);
    // False when a renewal could not be asked for and must be tried again.
    bool renewClaims(Journal &journal);
    void renewed(const QString &unit, Journal::Renewal renewal, qint64 sentAtMs);
    bool holdsLocked(const QString &unit) const;

    const ProcessIdentity m_self = ProcessIdentity::self();
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Request *> m_pending;
    struct Lease
    {
        qint64 fenceAtMs = 0;  // on the boot clock: no byte of the unit after it
        bool lost = false;     // the database gave the claim to another run
    };
    QHash<QString, Lease> m_leases;  // the claims this run holds, renewed by the writer
    std::unordered_map<std::thread::id, qint64> m_waitingSince;  // on the boot clock
    bool m_ready = false;
    int m_mendedFromMode = -1;
    bool m_stopping = false;
    JournalProblem m_problem;
    std::thread m_writer;
};
