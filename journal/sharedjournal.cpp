#include "sharedjournal.h"

#include "journal.h"

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
    Request request{true, &entry};
    submit(request);
    return request.id;
}

bool SharedJournal::complete(const JournalEntry &entry)
{
    Request request{false, &entry};
    submit(request);
    return request.ok;
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
            if (request->begin)
                request->ok = (request->id = journal.begin(*request->entry)) != 0;
            else
                request->ok = journal.complete(*request->entry);
            ok = request->ok;
        }
        const bool committed = journal.inBatch() && journal.endBatch(ok);
        lock.lock();
        m_problem = journal.problem();
        for (Request *request : batch) {
            if (!committed) {
                request->ok = false;
                request->id = 0;
            }
            request->done = true;
        }
        m_changed.notify_all();
    }
}
