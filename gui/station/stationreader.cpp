#include "stationreader.h"

StationReader::StationReader(const JournalLocation &location)
    : m_location(location)
{
}

StationReader::~StationReader() = default;

Journal *StationReader::journal()
{
    if (!m_journal)
        m_journal = std::make_unique<Journal>(m_location, Journal::Mode::Read);
    return m_journal.get();
}

// A query that failed leaves the connection behind: a restarted server or a
// terminated backend does not come back on it.
void StationReader::dropIfFailed()
{
    if (m_journal && !m_journal->isOpen())
        m_journal.reset();
}

void StationReader::readOverview(const QList<ManifestUnit> &units)
{
    Journal *read = journal();
    QHash<QString, Journal::Proven> proven;
    const QList<UnitStatus> statuses = manifestStatus(*read, units, &proven);
    const bool whole = read->isOpen();  // every query of both answered
    dropIfFailed();
    emit overviewRead(whole, whole ? statuses : QList<UnitStatus>{}, whole ? proven : QHash<QString, Journal::Proven>{});
}

void StationReader::readEntry(qint64 id)
{
    std::optional<JournalEntry> entry = journal()->isOpen() ? journal()->entry(id) : std::nullopt;
    dropIfFailed();
    emit entryRead(id, entry);
}
