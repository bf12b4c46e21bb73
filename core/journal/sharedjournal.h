#pragma once

#include "journal.h"
#include "journalclock.h"
#include "journallocation.h"
#include "journalsink.h"
#include "core/process/processidentity.h"

#include <QHash>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

class LineInterrupt;

// One journal for every port of a run, safe from any thread. A writer thread
// of its own holds the connection and writes what the ports hand it: what
// comes together is written in one transaction, so that sixty-four ports
// that start or end together wait for the disk once; when that transaction
// fails, each request is written again on its own, so that one port's
// failure is never another's. A connection that drops is opened again.
// Each call returns once its entry is on the disk.
//
// A commit whose answer was lost may have been taken: a request written
// again first reads back what the journal holds (an entry begun with the
// same start, an end already there, a claim already this one's), so nothing
// is written twice and nothing taken is taken for lost.
//
// The claims this run takes are renewed six times a lease (Journal::leaseMs)
// until they are released; a renewal that fails (a dropped connection) is
// tried again on a new connection every Journal::RenewRetryMs. A claim is
// this run's only while holds() says so: until the database says another
// run has it, and no longer than the lease the database last confirmed,
// less Journal::FenceMarginMs. A run frozen past that time finds on waking
// that it holds nothing, and sends nothing more.
//
// An entry of a claimed unit (its steps' starts and ends, its proof) is
// tried again like a renewal, every Journal::RenewRetryMs, for as long as
// the unit's fence holds and its port is not stopped: an outage shorter
// than that costs the unit nothing. An end still not taken then is kept and
// written, with the claim's release after it, as soon as the journal takes
// it again, or, should this run end first, by the next run that claims the
// unit (Journal::claim ends what the gone run left open). A run that ends
// with such ends waits for the journal a few seconds (the fence's margin)
// before it goes. A full disk is said at once, not waited for.
class SharedJournal : public JournalSink
{
public:
    // Leases and fences on `clock`; the claims are `self`'s.
    explicit SharedJournal(const JournalLocation &location, const JournalClock &clock = JournalClock::boot(),
                           const ProcessIdentity &self = ProcessIdentity::self());
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
    // The unit's writes stop being tried again once `stop` is triggered
    // (the technician stopped its port), as well as once its fence runs out.
    void stopRetriesWith(const QString &unit, const LineInterrupt *stop);
    // See Journal::unitHolding; empty also when the journal cannot say.
    QString unitHolding(const QString &recordSha256, const QString &unit);
    // How long `thread` has been waiting for the journal to take its
    // request; 0 while it waits for none. Safe from any thread.
    qint64 waitingMs(std::thread::id thread) const;
    // Ends not yet taken, waiting for the journal to come back.
    int lateCount() const;
    // Looks at the clock now: a test's clock that was moved on is seen.
    void wake();

private:
    struct Request;
    using Work = std::function<bool(Journal &, Request &)>;

    // Runs `work` on the writer's connection; its result. With a unit, it is
    // tried again while the unit's claim holds.
    bool submit(const Work &work, Request *request = nullptr, const QString &unit = {});
    void write(const JournalLocation &location);
    std::unique_ptr<Journal> open(const JournalLocation &location) const;
    bool perform(Journal &journal, std::deque<Request *> &batch);
    void performOneByOne(std::unique_ptr<Journal> &journal, const JournalLocation &location, std::deque<Request *> &batch);
    void settle(std::deque<Request *> &batch, const JournalProblem &problem);
    void writeLate(Journal &journal);
    void writeLateBeforeGoing(std::unique_ptr<Journal> &journal, const JournalLocation &location);
    // False when a renewal could not be asked for and must be tried again.
    bool renewClaims(ClaimBook &claims);
    void renewed(const QString &unit, Journal::Renewal renewal, qint64 sentAtMs);
    bool holdsLocked(const QString &unit) const;
    bool mayRetryLocked(const Request &request) const;

    const JournalClock &m_clock;
    const ProcessIdentity m_self;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Request *> m_pending;
    std::deque<Request *> m_retrying;  // to be tried again at the next retry
    struct Lease
    {
        qint64 fenceAtMs = 0;  // on the run's clock: no byte of the unit after it
        bool lost = false;     // the database gave the claim to another run
        const LineInterrupt *stop = nullptr;
    };
    QHash<QString, Lease> m_leases;  // the claims this run holds, renewed by the writer
    struct Late
    {
        JournalEntry entry;  // an end to write; or, with releasing, the unit's claim to let go
        bool releasing = false;
    };
    std::deque<Late> m_late;  // written in order once the journal takes them
    std::unordered_map<std::thread::id, qint64> m_waitingSince;  // on the run's clock
    bool m_ready = false;
    int m_mendedFromMode = -1;
    bool m_stopping = false;
    JournalProblem m_problem;
    std::thread m_writer;
};
