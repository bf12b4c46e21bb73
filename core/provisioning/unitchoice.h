#pragma once

#include "core/content/manifest.h"
#include "core/journal/journal.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

// Which units of a manifest each port may take, in the manifest's order:
// those that name it, then those that name no port. With `onlyOne` (one unit
// asked for by name), a unit that names no port goes to the first port only.
QList<QList<int>> chooseUnits(const QList<ManifestUnit> &units, const QStringList &ports, bool onlyOne);

// The units the journal holds as proven, left out of every port's list
// before any claim: with the same content always, with other content
// (changed since) unless `changedToo`.
struct DoneUnits
{
    QHash<int, qint64> done;  // proven with this content: by which entry
    QHash<int, qint64> changed;  // proven with other content: by which entry
};
DoneUnits leaveOutDone(QList<QList<int>> &candidates, const QList<ManifestUnit> &units,
                       const QHash<QString, Journal::Proven> &proven, bool changedToo);
