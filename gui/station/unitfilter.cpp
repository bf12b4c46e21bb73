#include "unitfilter.h"

#include "stationunits.h"

UnitFilter::UnitFilter(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

void UnitFilter::setStates(const QSet<State> &states)
{
    m_states = states;
    invalidateRowsFilter();
}

void UnitFilter::setUnitText(const QString &text)
{
    m_text = text.trimmed();
    invalidateRowsFilter();
}

bool UnitFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *units = qobject_cast<const StationUnits *>(sourceModel());
    if (!units || sourceRow >= units->statuses().size())
        return true;
    const UnitStatus &status = units->statuses()[sourceRow];
    return (m_states.isEmpty() || m_states.contains(status.state))
        && (m_text.isEmpty() || status.unit.contains(m_text, Qt::CaseInsensitive));
}
