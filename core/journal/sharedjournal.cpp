#include "sharedjournal.h"

#include "journalclock.h"

#include <chrono>

namespace {

// Why the last request of this thread was not taken: several ports write
// through one journal at once, and each asks after its own request.
thread_local JournalProblem lastProblem;

} // namespace

struct SharedJournal::Request
{
    Work work;
    bool done = false;
    bool ok = false;
    qint64 id = 0;
    std::optional<Journal::ClaimResult> claim;
    QString text;
    JournalProblem problem;  // why it was not taken
};

SharedJournal::SharedJournal(const JournalLocation &location)
    : m_writer([this, location] { write(location); })
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ready; });
}

SharedJournal::~SharedJournal()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_writer.join();
}

bool SharedJournal::isOpen() const
{
    const std::lock_guard lock(m_mutex);
    return m_problem.error == JournalProblem::Error::None;
}

JournalProblem SharedJournal::problem() const
{
    if (lastProblem.error != JournalProblem::Error::None)
        return lastProblem;
    const std::lock_guard lock(m_mutex);
    return m_problem;
}

qint64 SharedJournal::begin(const JournalEntry &entry)
{
    Request request;
    // An id counts only once its entry is committed.
    const bool committed = submit([&entry](Journal &journal, Request &r) { return (r.id = journal.begin(entry)) != 0; }, &request);
    return committed ? request.id : 0;
}

bool SharedJournal::complete(const JournalEntry &entry)
{
    return submit([&entry](Journal &journal, Request &) { return journal.complete(entry); });
}

std::optional<Journal::ClaimResult> SharedJournal::claim(JournalEntry &entry, bool again, bool changedToo)
{
    Request request;
    const qint64 sentAt = bootClockMs();
    JournalEntry attempt = entry;
    submit([&](Journal &journal, Request &r) {
        attempt = entry;
        r.claim = journal.claim(attempt, m_self, again, changedToo);
        return r.claim.has_value();
    }, &request);
    if (request.ok && request.claim && request.claim->claim == Journal::Claim::Taken) {
        entry.id = attempt.id;
        const std::lock_guard lock(m_mutex);
        m_leases.insert(entry.unit, {sentAt + Journal::leaseMs() - Journal::FenceMarginMs, false});
    }
    return request.ok ? request.claim : std::nullopt;
}

bool SharedJournal::renew(const QString &unit)
{
    const qint64 sentAt = bootClockMs();
    auto renewal = Journal::Renewal::Failed;
    const bool committed = submit([this, &unit, &renewal](Journal &journal, Request &) {
        renewal = journal.renew(unit, m_self);
        return renewal != Journal::Renewal::Failed;
    });
    // A renewal whose transaction did not commit renewed nothing.
    if (!committed)
        renewal = Journal::Renewal::Failed;
    const std::lock_guard lock(m_mutex);
    renewed(unit, renewal, sentAt);
    return holdsLocked(unit);
}

bool SharedJournal::holds(const QString &unit) const
{
    const std::lock_guard lock(m_mutex);
    return holdsLocked(unit);
}

bool SharedJournal::holdsLocked(const QString &unit) const
{
    const auto lease = m_leases.constFind(unit);
    return lease != m_leases.cend() && !lease->lost && bootClockMs() < lease->fenceAtMs;
}

// What a renewal sent at `sentAtMs` says of the claim; called locked. A
// renewal that could not be asked for changes nothing: the fence decides.
void SharedJournal::renewed(const QString &unit, Journal::Renewal renewal, qint64 sentAtMs)
{
    const auto lease = m_leases.find(unit);
    if (lease == m_leases.end() || lease->lost)
        return;
    if (renewal == Journal::Renewal::Renewed)
        lease->fenceAtMs = std::max(lease->fenceAtMs, sentAtMs + Journal::leaseMs() - Journal::FenceMarginMs);
    else if (renewal == Journal::Renewal::NotOurs)
        lease->lost = true;
}

void SharedJournal::release(const QString &unit)
{
    {
        const std::lock_guard lock(m_mutex);
        m_leases.remove(unit);
    }
    submit([this, &unit](Journal &journal, Request &) { return journal.release(unit, m_self); });
}

QString SharedJournal::unitHolding(const QString &recordSha256, const QString &unit)
{
    Request request;
    submit([&](Journal &journal, Request &r) {
        r.text = journal.unitHolding(recordSha256, unit);
        return journal.isOpen();
    }, &request);
    return request.text;
}

bool SharedJournal::submit(const Work &work, Request *request)
{
    Request own;
    Request &r = request ? *request : own;
    r.work = work;
    std::unique_lock lock(m_mutex);
    m_pending.push_back(&r);
    m_waitingSince[std::this_thread::get_id()] = bootClockMs();
    m_changed.notify_all();
    m_changed.wait(lock, [&r] { return r.done; });
    m_waitingSince.erase(std::this_thread::get_id());
    lastProblem = r.problem;
    return r.ok;
}

qint64 SharedJournal::waitingMs(std::thread::id thread) const
{
    const std::lock_guard lock(m_mutex);
    const auto since = m_waitingSince.find(thread);
    return since == m_waitingSince.end() ? 0 : bootClockMs() - since->second;
}

// Everything handed over while the last batch was being written goes into
// the next one, in one transaction. When that fails, each request is done
// again in a transaction of its own, on a connection opened anew when the
// old one is gone. A request succeeds only when the transaction that holds
// its work committed: what its work said before the commit counts for
// nothing on its own.
bool SharedJournal::perform(Journal &journal, std::deque<Request *> &batch)
{
    bool ok = journal.startBatch();
    for (Request *request : batch) {
        if (!ok)
            break;
        ok = request->work(journal, *request);
    }
    const bool committed = journal.inBatch() && journal.endBatch(ok) && ok;
    for (Request *request : batch) {
        request->ok = committed;
        request->problem = committed ? JournalProblem{} : journal.problem();
    }
    return committed;
}

bool SharedJournal::renewClaims(Journal &journal)
{
    std::unique_lock lock(m_mutex);
    QStringList units;
    for (auto lease = m_leases.cbegin(); lease != m_leases.cend(); ++lease) {
        if (!lease->lost)
            units << lease.key();
    }
    lock.unlock();
    bool asked = true;
    for (const QString &unit : units) {
        const qint64 sentAt = bootClockMs();
        const Journal::Renewal renewal = journal.renew(unit, m_self);
        asked = asked && renewal != Journal::Renewal::Failed;
        lock.lock();
        renewed(unit, renewal, sentAt);
        lock.unlock();
    }
    return asked;
}

void SharedJournal::write(const JournalLocation &location)
{
    auto journal = std::make_unique<Journal>(location);
    std::unique_lock lock(m_mutex);
    m_problem = journal->problem();
    m_mendedFromMode = journal->mendedFromMode();
    m_ready = true;
    m_changed.notify_all();
    auto renewal = std::chrono::steady_clock::now() + std::chrono::milliseconds(Journal::renewEveryMs());
    for (;;) {
        m_changed.wait_until(lock, renewal, [this] { return m_stopping || !m_pending.empty(); });
        if (m_stopping && m_pending.empty())
            return;
        std::deque<Request *> batch;
        batch.swap(m_pending);
        lock.unlock();
        if (!journal->isOpen())
            journal = std::make_unique<Journal>(location);
        if (std::chrono::steady_clock::now() >= renewal) {
            const bool asked = renewClaims(*journal);
            if (!asked)
                journal = std::make_unique<Journal>(location);
            renewal = std::chrono::steady_clock::now() + std::chrono::milliseconds(asked ? Journal::renewEveryMs() : Journal::RenewRetryMs);
        }
        const bool whole = !batch.empty() && perform(*journal, batch);
        if (!batch.empty() && !whole) {
            for (Request *request : batch) {
                std::deque<Request *> one{request};
                if (!perform(*journal, one)) {
                    journal = std::make_unique<Journal>(location);
                    perform(*journal, one);
                }
            }
        }
        lock.lock();
        m_problem = journal->problem();
        for (Request *request : batch)
            request->done = true;
        m_changed.notify_all();
    }
}
