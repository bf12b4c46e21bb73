#pragma once

#include "core/provisioning/unitstatus.h"

#include <QAbstractTableModel>

// The manifest's units as the station's table shows them: unit, state,
// entry, time and station, one row a unit in the manifest's order. Only the
// rows a look at the journal changed are told to the view, so that a
// manifest of a hundred thousand units costs the window what changed.
class StationUnits : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Unit, State, Entry, Time, Station, ColumnCount };

    explicit StationUnits(QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A batch's units, each left until the journal says otherwise; none
    // between batches.
    void reset(const QList<ManifestUnit> &units);
    void update(const QList<int> &rows, const QList<UnitStatus> &statuses);
    const QList<UnitStatus> &statuses() const { return m_statuses; }

private:
    QList<UnitStatus> m_statuses;
};
