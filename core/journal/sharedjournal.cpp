#include "sharedjournal.h"

#include <chrono>

struct SharedJournal::Request
{
    Work work;
    bool done = false;
    bool ok = false;
    qint64 id = 0;
    std::optional<Journal::ClaimResult> claim;
    QString text;
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
    const std::lock_guard lock(m_mutex);
    return m_problem;
}

qint64 SharedJournal::begin(const JournalEntry &entry)
{
    Request request;
    submit([&entry](Journal &journal, Request &r) { return (r.id = journal.begin(entry)) != 0; }, &request);
    return request.id;
}

bool SharedJournal::complete(const JournalEntry &entry)
{
    return submit([&entry](Journal &journal, Request &) { return journal.complete(entry); });
}

std::optional<Journal::ClaimResult> SharedJournal::claim(JournalEntry &entry, bool again, bool changedToo)
{
    Request request;
    JournalEntry attempt = entry;
    submit([&](Journal &journal, Request &r) {
        attempt = entry;
        r.claim = journal.claim(attempt, m_self, again, changedToo);
        return r.claim.has_value();
    }, &request);
    if (request.ok && request.claim && request.claim->claim == Journal::Claim::Taken) {
        entry.id = attempt.id;
        const std::lock_guard lock(m_mutex);
        m_claimed.insert(entry.unit);
        m_lost.remove(entry.unit);
    }
    return request.ok ? request.claim : std::nullopt;
}

bool SharedJournal::renew(const QString &unit)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_lost.contains(unit))
            return false;
    }
    const bool renewed = submit([this, &unit](Journal &journal, Request &) { return journal.renew(unit, m_self); });
    if (!renewed) {
        const std::lock_guard lock(m_mutex);
        m_lost.insert(unit);
    }
    return renewed;
}

void SharedJournal::release(const QString &unit)
{
    {
        const std::lock_guard lock(m_mutex);
        m_claimed.remove(unit);
        m_lost.remove(unit);
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
    m_changed.notify_all();
    m_changed.wait(lock, [&r] { return r.done; });
    return r.ok;
}

// Everything handed over while the last batch was being written goes into
// the next one, in one transaction. When that fails, each request is done
// again in a transaction of its own, on a connection opened anew when the
// old one is gone.
bool SharedJournal::perform(Journal &journal, std::deque<Request *> &batch)
{
    bool ok = journal.startBatch();
    for (Request *request : batch) {
        if (!ok)
            break;
        ok = request->ok = request->work(journal, *request);
    }
    return journal.inBatch() && journal.endBatch(ok) && ok;
}

void SharedJournal::renewClaims(Journal &journal)
{
    std::unique_lock lock(m_mutex);
    const QSet<QString> units = m_claimed - m_lost;
    lock.unlock();
    QSet<QString> lost;
    for (const QString &unit : units) {
        if (!journal.renew(unit, m_self))
            lost.insert(unit);
    }
    lock.lock();
    m_lost += lost;
}

void SharedJournal::write(const JournalLocation &location)
{
    auto journal = std::make_unique<Journal>(location);
    std::unique_lock lock(m_mutex);
    m_problem = journal->problem();
    m_mendedFromMode = journal->mendedFromMode();
    m_ready = true;
    m_changed.notify_all();
    auto renewal = std::chrono::steady_clock::now() + std::chrono::milliseconds(Journal::RenewEveryMs);
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
            renewClaims(*journal);
            renewal = std::chrono::steady_clock::now() + std::chrono::milliseconds(Journal::RenewEveryMs);
        }
        const bool whole = !batch.empty() && perform(*journal, batch);
        if (!batch.empty() && !whole) {
            for (Request *request : batch) {
                std::deque<Request *> one{request};
                request->ok = false;
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
