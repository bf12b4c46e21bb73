#include "stationreader.h"

StationReader::StationReader(const JournalLocation &location, const QList<ManifestUnit> &units)
    : m_location(location)
    , m_units(units)
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

void StationReader::look()
{
    if (!m_overview)
        m_overview = std::make_unique<ManifestOverview>(m_units);
    QList<int> rows;
    const bool read = m_overview->update(*journal(), &rows);
    dropIfFailed();
    QList<UnitStatus> statuses;
    statuses.reserve(rows.size());
    for (const int row : std::as_const(rows))
        statuses << m_overview->statuses()[row];
    QList<int> counts;
    for (int state = 0; state < UnitStatus::StateCount; ++state)
        counts << m_overview->count(UnitStatus::State(state));
    emit looked(read, rows, statuses, counts);
}

void StationReader::readEntry(qint64 id)
{
    std::optional<JournalEntry> entry = journal()->isOpen() ? journal()->entry(id) : std::nullopt;
    dropIfFailed();
    emit entryRead(id, entry);
}
