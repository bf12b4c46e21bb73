#include "sharedjournal.h"


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
    JournalEntry copy = entry;
    Request request(Request::Kind::Begin, &copy);
    submit(request);
    return request.id;
}

bool SharedJournal::complete(const JournalEntry &entry)
{
    JournalEntry copy = entry;
    Request request(Request::Kind::Complete, &copy);
    submit(request);
    return request.ok;
}

std::optional<Journal::Claim> SharedJournal::claim(JournalEntry &entry, bool again)
{
    Request request(Request::Kind::Claim, &entry, again);
    submit(request);
    return request.claim;
}

void SharedJournal::release(const QString &unit)
{
    JournalEntry entry;
    entry.unit = unit;
    Request request(Request::Kind::Release, &entry);
    submit(request);
}

void SharedJournal::submit(Request &request)
{
    std::unique_lock lock(m_mutex);
    m_pending.push_back(&request);
    m_changed.notify_all();
    m_changed.wait(lock, [&request] { return request.done; });
}

// The writer: everything handed over while the last batch was being written
// goes into the next one.
void SharedJournal::write(const JournalLocation &location)
{
    Journal journal(location);
    std::unique_lock lock(m_mutex);
    m_problem = journal.problem();
    m_ready = true;
    m_changed.notify_all();
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_pending.empty(); });
        if (m_pending.empty())
            return;
        std::deque<Request *> batch;
        batch.swap(m_pending);
        lock.unlock();
        // A batch is written whole or not at all.
        bool ok = journal.startBatch();
        for (Request *request : batch) {
            if (!ok)
                break;
            switch (request->kind) {
            case Request::Kind::Begin:
                request->ok = (request->id = journal.begin(*request->entry)) != 0;
                break;
            case Request::Kind::Complete:
                request->ok = journal.complete(*request->entry);
                break;
            case Request::Kind::Claim:
                request->claim = journal.claim(*request->entry, request->again);
                request->ok = request->claim.has_value();
                break;
            case Request::Kind::Release:
                journal.release(request->entry->unit);
                request->ok = true;
                break;
            }
            ok = request->ok;
        }
        const bool committed = journal.inBatch() && journal.endBatch(ok);
        lock.lock();
        m_problem = journal.problem();
        for (Request *request : batch) {
            if (!committed) {
                request->ok = false;
                request->id = 0;
                request->claim.reset();
                if (request->entry && request->kind == Request::Kind::Claim)
                    request->entry->id = 0;
            }
            request->done = true;
        }
        m_changed.notify_all();
    }
}
