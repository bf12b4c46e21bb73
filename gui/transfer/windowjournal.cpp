#include "windowjournal.h"

#include "core/operations/transferrunner.h"

WindowJournal::WindowJournal(TransferRunner &runner, const JournalLocation &location)
    : m_runner(runner)
    , m_location(location)
{
}

WindowJournal::~WindowJournal()
{
    setLocation({});
}

void WindowJournal::setLocation(const JournalLocation &location)
{
    // Closed where it was opened.
    if (m_journal)
        m_runner.run([this] { m_journal.reset(); });
    m_location = location;
    m_givenUp = false;
    m_untold.reset();
}

Journal *WindowJournal::opened()
{
    if (m_location.kind == JournalLocation::Kind::Off || m_givenUp)
        return nullptr;
    if (!m_journal)
        m_journal = std::make_unique<Journal>(m_location);
    if (!m_journal->isOpen()) {
        fail();
        return nullptr;
    }
    return m_journal.get();
}

void WindowJournal::fail()
{
    if (m_givenUp)
        return;
    m_givenUp = true;
    m_untold = m_journal ? m_journal->problem() : JournalProblem{};
}

JournalRecord WindowJournal::begin(const JournalEntry &start)
{
    std::optional<JournalRecord> record;
    m_runner.run([&] {
        JournalRecord begun(opened(), start);
        if (begun.begun()) {
            record.emplace(std::move(begun));
            return;
        }
        fail();
        record.emplace(nullptr, begun.entry());
    });
    return record ? std::move(*record) : JournalRecord(nullptr, start);
}

void WindowJournal::finish(JournalRecord &record)
{
    m_runner.run([&] {
        if (!record.finish())
            fail();
    });
}

bool WindowJournal::available()
{
    bool open = false;
    m_runner.run([&] { open = opened() != nullptr; });
    return open;
}

WindowJournal::LastDownload WindowJournal::lastDownload(const QString &moduleId)
{
    LastDownload last;
    if (m_location.kind == JournalLocation::Kind::Off)
        return {true, {}};
    m_runner.run([&] {
        Journal *journal = opened();
        if (!journal)
            return;
        Journal::Filter filter;
        filter.moduleId = moduleId;
        filter.operation = JournalName::Download;
        filter.result = JournalName::Ok;
        filter.limit = 1;
        filter.withContent = true;
        const QList<JournalEntry> entries = journal->find(filter);
        if (!journal->isOpen()) {  // the query failed: nothing is known
            fail();
            return;
        }
        last.read = true;
        if (!entries.isEmpty())
            last.entry = entries.first();
    });
    return last;
}

std::optional<JournalProblem> WindowJournal::takeFailure()
{
    return std::exchange(m_untold, std::nullopt);
}
