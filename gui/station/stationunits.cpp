#include "stationunits.h"

#include "gui/texts/windowtexts.h"
#include "stationtexts.h"

#include <QCoreApplication>

namespace {

const char *const Headers[] = {QT_TRANSLATE_NOOP("StationWindow", "Egység"), QT_TRANSLATE_NOOP("StationWindow", "Állapot"),
                               QT_TRANSLATE_NOOP("StationWindow", "Bejegyzés"), QT_TRANSLATE_NOOP("StationWindow", "Idő"),
                               QT_TRANSLATE_NOOP("StationWindow", "Állomás")};

} // namespace

StationUnits::StationUnits(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int StationUnits::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_statuses.size());
}

int StationUnits::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StationUnits::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_statuses.size())
        return {};
    const UnitStatus &s = m_statuses[index.row()];
    switch (index.column()) {
    case Unit: return s.unit;
    case State: return StationText::unitState(s.state);
    case Entry: return s.entry ? QString::number(s.entry) : QString();
    case Time: return s.whenMs ? WindowText::localTime(s.whenMs) : QString();
    case Station: return s.station;
    default: return {};
    }
}

QVariant StationUnits::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QCoreApplication::translate("StationWindow", Headers[section]);
}

void StationUnits::reset(const QList<ManifestUnit> &units)
{
    beginResetModel();
    m_statuses.clear();
    m_statuses.reserve(units.size());
    for (const ManifestUnit &unit : units)
        m_statuses.append({unit.unit, UnitStatus::State::Left, 0, 0, {}, {}, {}});
    endResetModel();
}

// One signal for the span of rows that changed: the view redraws what of it
// is in sight.
void StationUnits::update(const QList<int> &rows, const QList<UnitStatus> &statuses)
{
    int first = int(m_statuses.size()), last = -1;
    for (int i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= m_statuses.size())
            continue;
        m_statuses[row] = statuses[i];
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (last >= first)
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}
