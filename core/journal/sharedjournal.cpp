#include "sharedjournal.h"

#include "core/link/lineinterrupt.h"

#include <chrono>

namespace {

// Why the last request of this thread was not taken: several ports write
// through one journal at once, and each asks after its own request.
thread_local JournalProblem lastProblem;

// A failure that another try within the unit's fence cannot mend: a
// connection that went, a lock another program holds, come back; a full disk
// is said at once.
bool isFinal(const JournalProblem &problem)
{
    using Error = JournalProblem::Error;
    switch (problem.error) {
    case Error::ClaimLost:
    case Error::DiskFull:
    case Error::ReadOnly:
    case Error::NewerSchema:
    case Error::NotAJournal:
    case Error::Damaged:
    case Error::OtherOwner:
    case Error::FolderOwner:
    case Error::OpenFolder:
    case Error::Link:
    case Error::SideFile:
        return true;
    default:
        return false;
    }
}

} // namespace

struct SharedJournal::Request
{
    Work work;
    QString unit;  // a claimed unit's: tried again while its claim holds
    int attempts = 0;
    bool done = false;
    bool ok = false;
    qint64 id = 0;
    std::optional<Journal::ClaimResult> claim;
    QString text;
    JournalProblem problem;  // why it was not taken
};

SharedJournal::SharedJournal(const JournalLocation &location, const JournalClock &clock, const ProcessIdentity &self)
    : m_clock(clock)
    , m_self(self)
    , m_writer([this, location] { write(location); })
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

// A start written again first looks for itself: the commit that took it
// may have lost its answer.
qint64 SharedJournal::begin(const JournalEntry &entry)
{
    Request request;
    const bool committed = submit([&entry](Journal &journal, Request &r) {
        if (r.attempts > 1) {
            const qint64 found = journal.findBegun(entry);
            if (found != 0) {
                r.id = found;
                return found > 0;
            }
        }
        return (r.id = journal.begin(entry)) != 0;
    }, &request, entry.claimToken ? entry.unit : QString());
    return committed ? request.id : 0;
}

bool SharedJournal::complete(const JournalEntry &entry)
{
    Request request;
    const bool committed = submit([&entry](Journal &journal, Request &) { return journal.complete(entry); }, &request,
                                  entry.claimToken ? entry.unit : QString());
    if (!committed && entry.claimToken && !isFinal(request.problem)) {
        const std::lock_guard lock(m_mutex);
        m_late.push_back({entry, false});  // written once the journal takes it again
    }
    return committed;
}

std::optional<Journal::ClaimResult> SharedJournal::claim(JournalEntry &entry, bool again, bool changedToo)
{
    Request request;
    const qint64 sentAt = m_clock.nowMs();
    JournalEntry attempt = entry;
    submit([&](Journal &journal, Request &r) {
        attempt = entry;
        r.claim = journal.claim(attempt, m_self, again, changedToo);
        return r.claim.has_value();
    }, &request);
    if (request.ok && request.claim && request.claim->claim == Journal::Claim::Taken) {
        entry.id = attempt.id;
        const std::lock_guard lock(m_mutex);
        m_leases.insert(entry.unit, {sentAt + Journal::leaseMs() - Journal::FenceMarginMs, false, nullptr});
    }
    return request.ok ? request.claim : std::nullopt;
}

bool SharedJournal::renew(const QString &unit)
{
    const qint64 sentAt = m_clock.nowMs();
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
    return lease != m_leases.cend() && !lease->lost && m_clock.nowMs() < lease->fenceAtMs;
}

void SharedJournal::stopRetriesWith(const QString &unit, const LineInterrupt *stop)
{
    const std::lock_guard lock(m_mutex);
    if (const auto lease = m_leases.find(unit); lease != m_leases.end())
        lease->stop = stop;
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

// The claim goes after every end of its unit still waiting for the journal:
// let go first, it would leave them refused.
void SharedJournal::release(const QString &unit)
{
    {
        const std::lock_guard lock(m_mutex);
        m_leases.remove(unit);
        const bool endsWait = std::any_of(m_late.cbegin(), m_late.cend(), [&unit](const Late &late) { return late.entry.unit == unit; });
        if (endsWait) {
            JournalEntry claim;
            claim.unit = unit;
            m_late.push_back({claim, true});
            return;
        }
    }
    Request request;
    if (!submit([this, &unit](Journal &journal, Request &) { return journal.release(unit, m_self); }, &request)
        && !isFinal(request.problem)) {
        JournalEntry claim;
        claim.unit = unit;
        const std::lock_guard lock(m_mutex);
        m_late.push_back({claim, true});
    }
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

int SharedJournal::lateCount() const
{
    const std::lock_guard lock(m_mutex);
    return int(m_late.size());
}

void SharedJournal::wake()
{
    m_changed.notify_all();
}

bool SharedJournal::submit(const Work &work, Request *request, const QString &unit)
{
    Request own;
    Request &r = request ? *request : own;
    r.work = work;
    r.unit = unit;
    std::unique_lock lock(m_mutex);
    m_pending.push_back(&r);
    m_waitingSince[std::this_thread::get_id()] = m_clock.nowMs();
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
    return since == m_waitingSince.end() ? 0 : m_clock.nowMs() - since->second;
}

std::unique_ptr<Journal> SharedJournal::open(const JournalLocation &location) const
{
    return std::make_unique<Journal>(location, Journal::Mode::Write, m_clock);
}

// Everything handed over while the last batch was being written goes into
// the next one, in one transaction. A request succeeds only when the
// transaction that holds its work committed: what its work said before the
// commit counts for nothing on its own.
bool SharedJournal::perform(Journal &journal, std::deque<Request *> &batch)
{
    for (Request *request : batch)
        ++request->attempts;
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

// When a batch fails, each request is done again in a transaction of its
// own, on a connection opened anew when the old one is gone, so that one
// port's failure is never another's.
void SharedJournal::performOneByOne(std::unique_ptr<Journal> &journal, const JournalLocation &location, std::deque<Request *> &batch)
{
    for (Request *request : batch) {
        std::deque<Request *> one{request};
        if (!perform(*journal, one) && !isFinal(request->problem)) {
            journal = open(location);
            perform(*journal, one);
        }
    }
}

// Locked: each request of a written batch is done, or, a claimed unit's
// that failed for now, waits for the next retry.
void SharedJournal::settle(std::deque<Request *> &batch, const JournalProblem &problem)
{
    for (Request *request : batch) {
        if (!request->ok && mayRetryLocked(*request)) {
            m_retrying.push_back(request);
            continue;
        }
        if (!request->ok && request->problem.error == JournalProblem::Error::None)
            request->problem = problem;
        request->done = true;
    }
}

bool SharedJournal::mayRetryLocked(const Request &request) const
{
    if (m_stopping || request.unit.isEmpty() || isFinal(request.problem) || !holdsLocked(request.unit))
        return false;
    const LineInterrupt *stop = m_leases.value(request.unit).stop;
    return !stop || !stop->isTriggered();
}

// The ends that waited, in order; the first the journal does not take yet
// waits with those after it. One refused for good (its claim went to
// another run) is dropped.
void SharedJournal::writeLate(Journal &journal)
{
    std::unique_lock lock(m_mutex);
    const std::deque<Late> waiting = m_late;
    lock.unlock();
    size_t written = 0;
    for (const Late &late : waiting) {
        const bool taken = late.releasing ? journal.release(late.entry.unit, m_self) : journal.complete(late.entry);
        if (!taken && !isFinal(journal.problem()))
            break;
        ++written;
    }
    lock.lock();
    m_late.erase(m_late.begin(), m_late.begin() + qsizetype(written));
}

bool SharedJournal::renewClaims(ClaimBook &claims)
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
        const qint64 sentAt = m_clock.nowMs();
        const ClaimBook::Renewal renewal = claims.renew(unit, m_self);
        asked = asked && renewal != ClaimBook::Renewal::Failed;
        lock.lock();
        renewed(unit, renewal, sentAt);
        lock.unlock();
    }
    return asked;
}

void SharedJournal::write(const JournalLocation &location)
{
    std::unique_ptr<Journal> journal = open(location);
    std::unique_lock lock(m_mutex);
    m_problem = journal->problem();
    m_mendedFromMode = journal->mendedFromMode();
    m_ready = true;
    m_changed.notify_all();
    qint64 renewAt = m_clock.nowMs() + Journal::renewEveryMs();
    qint64 retryAt = 0;
    for (;;) {
        // Asleep until there is work; the clock is looked at at least every
        // retry's interval, and whenever someone wakes the writer.
        for (;;) {
            const qint64 now = m_clock.nowMs();
            const bool waiting = !m_retrying.empty() || !m_late.empty();
            if (m_stopping || !m_pending.empty() || now >= renewAt || (waiting && now >= retryAt))
                break;
            const qint64 next = waiting ? std::min(renewAt, retryAt) : renewAt;
            m_changed.wait_for(lock, std::chrono::milliseconds(std::clamp<qint64>(next - now, 1, Journal::RenewRetryMs)));
        }
        const qint64 now = m_clock.nowMs();
        const bool retrying = now >= retryAt;
        const bool renewing = now >= renewAt;
        const bool last = m_stopping && m_pending.empty() && m_retrying.empty();
        std::deque<Request *> batch;
        batch.swap(m_pending);
        if (retrying) {
            const std::deque<Request *> again = std::exchange(m_retrying, {});
            batch.insert(batch.end(), again.begin(), again.end());
        }
        lock.unlock();
        if (!journal->isOpen())
            journal = open(location);
        if (renewing && !last) {
            const bool asked = renewClaims(*journal);
            if (!asked)
                journal = open(location);
            renewAt = m_clock.nowMs() + (asked ? Journal::renewEveryMs() : Journal::RenewRetryMs);
        }
        if (!batch.empty() && !perform(*journal, batch))
            performOneByOne(journal, location, batch);
        if (retrying || last)
            writeLate(*journal);
        lock.lock();
        m_problem = journal->problem();
        settle(batch, m_problem);
        if ((!m_retrying.empty() || !m_late.empty()) && retryAt <= m_clock.nowMs())
            retryAt = m_clock.nowMs() + Journal::RenewRetryMs;
        m_changed.notify_all();
        if (last) {
            lock.unlock();
            writeLateBeforeGoing(journal, location);
            return;
        }
    }
}

// A run that ends with ends the journal has not taken waits for it a few
// seconds, the fence's margin: a short outage still ends the unit here;
// after a longer one, the next run to claim the unit ends them.
void SharedJournal::writeLateBeforeGoing(std::unique_ptr<Journal> &journal, const JournalLocation &location)
{
    const qint64 giveUpAt = m_clock.nowMs() + Journal::FenceMarginMs;
    while (lateCount() > 0 && m_clock.nowMs() < giveUpAt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(Journal::RenewRetryMs));
        if (!journal->isOpen())
            journal = open(location);
        writeLate(*journal);
    }
}
