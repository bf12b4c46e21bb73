#include "windowjournal.h"

struct WindowJournal::OnWorker
{
    quint64 generation = 0;  // of the location the journal below was opened at
    std::unique_ptr<Journal> journal;
    bool givenUp = false;
    std::optional<JournalProblem> untold;
};

WindowJournal::WindowJournal(const JournalLocation &location)
    : m_location(location)
    , m_side(std::make_shared<OnWorker>())
{
}

void WindowJournal::setLocation(const JournalLocation &location)
{
    m_location = location;
    ++m_generation;
}

WindowJournal::Use WindowJournal::use() const
{
    Use use;
    use.m_side = m_side;
    use.m_location = m_location;
    use.m_generation = m_generation;
    return use;
}

// A location changed since the journal was opened: the old one is closed
// here, where it was opened, and the new one gets a fresh start.
Journal *WindowJournal::Use::opened()
{
    OnWorker &side = *m_side;
    if (side.generation != m_generation) {
        side.journal.reset();
        side.generation = m_generation;
        side.givenUp = false;
        side.untold.reset();
    }
    if (m_location.kind == JournalLocation::Kind::Off || side.givenUp)
        return nullptr;
    if (!side.journal)
        side.journal = std::make_unique<Journal>(m_location);
    if (!side.journal->isOpen()) {
        fail();
        return nullptr;
    }
    return side.journal.get();
}

void WindowJournal::Use::fail()
{
    OnWorker &side = *m_side;
    if (side.givenUp)
        return;
    side.givenUp = true;
    side.untold = side.journal ? side.journal->problem() : JournalProblem{};
}

JournalRecord WindowJournal::Use::begin(const JournalEntry &start)
{
    JournalRecord begun(opened(), start);
    if (begun.begun())
        return begun;
    fail();
    return JournalRecord(nullptr, begun.entry());
}

void WindowJournal::Use::finish(JournalRecord &record)
{
    if (!record.finish())
        fail();
}

bool WindowJournal::Use::available()
{
    return opened() != nullptr;
}

WindowJournal::Use::LastDownload WindowJournal::Use::lastDownload(const QString &moduleId)
{
    if (m_location.kind == JournalLocation::Kind::Off)
        return {true, {}};
    Journal *journal = opened();
    if (!journal)
        return {};
    Journal::Filter filter;
    filter.moduleId = moduleId;
    filter.operation = JournalName::Download;
    filter.result = JournalName::Ok;
    filter.limit = 1;
    filter.withContent = true;
    const QList<JournalEntry> entries = journal->find(filter);
    if (!journal->isOpen()) {  // the query failed: nothing is known
        fail();
        return {};
    }
    return {true, entries.isEmpty() ? std::nullopt : std::optional<JournalEntry>(entries.first())};
}

std::optional<JournalProblem> WindowJournal::Use::takeFailure()
{
    return std::exchange(m_side->untold, std::nullopt);
}

void WindowJournal::Use::close()
{
    m_side->journal.reset();
}
