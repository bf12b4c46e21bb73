#pragma once

#include "core/provisioning/unitstatus.h"

#include <QSet>
#include <QSortFilterProxyModel>

// The station's table, narrowed to what the technician looks for: units in
// some states (failures, not proven, left to do) and whose name holds a
// text. Rows keep the manifest's order; nothing is sorted.
class UnitFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using State = UnitStatus::State;

    explicit UnitFilter(QObject *parent);
    // None: every state.
    void setStates(const QSet<State> &states);
    void setUnitText(const QString &text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QSet<State> m_states;
    QString m_text;
};
