#pragma once

#include "core/journal/journal.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What a shift did with a manifest, per station and in total, from the
// journal's provisionings of its units: every ended attempt counted once
// by how it ended, the pace between the first and the last proof, and the
// units the journal does not hold as proven.
struct StationFigures
{
    QString station;  // empty for the total
    int proven = 0;
    int failed = 0;
    int notSwapped = 0;
    int notProven = 0;
    int interrupted = 0;
    QMap<QString, int> failedBy;  // reason id: how many failed so
    qint64 firstProofMs = 0;
    qint64 lastProofMs = 0;

    // Proofs an hour between the first and the last; 0 with fewer than two.
    double perHour() const;
};

struct ShiftReport
{
    QList<StationFigures> stations;  // by name
    StationFigures total;
    int units = 0;
    int left = 0;  // not proven by any station, at any time
};

struct ShiftFilter
{
    std::optional<qint64> sinceMs;  // attempts ended from then on
    QString station;                // only this station's; empty: all
};

ShiftReport shiftReport(const QStringList &units, const QList<Journal::Provisioning> &provisionings, const ShiftFilter &filter);

// The unit names of a manifest's CSV (its "unit" column); empty, with
// `ok` false, when there is none.
QStringList manifestUnitNames(const QByteArray &csv, bool *ok);
