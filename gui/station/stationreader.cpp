#include "stationreader.h"

StationReader::StationReader(const JournalLocation &location, const QList<ManifestUnit> &units)
    : m_units(units)
    , m_connection(location)
{
}

StationReader::~StationReader() = default;

void StationReader::look()
{
    if (!m_overview)
        m_overview = std::make_unique<ManifestOverview>(m_units);
    QList<int> rows;
    const bool read = m_overview->update(m_connection.journal(), &rows);
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
    Journal &journal = m_connection.journal();
    emit entryRead(id, journal.isOpen() ? journal.entry(id) : std::nullopt);
}
