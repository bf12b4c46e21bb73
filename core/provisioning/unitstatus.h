#pragma once

#include "core/content/manifest.h"
#include "core/journal/journal.h"

#include <QList>
#include <QString>

// What the journal says of each unit of a manifest: done (proven with this
// content), changed (proven with other content), claimed (a live claim),
// failed (its last provisioning ended otherwise), or left.
struct UnitStatus
{
    QString unit;
    QString state;    // "done", "changed", "claimed", "failed" or "left"
    qint64 entry = 0;
    qint64 whenMs = 0;
    QString station;
    QString reason;   // for failed: the journal's id
};

// One query each for the proven units, the failures and the claims, however
// long the manifest. Empty when the journal cannot say.
QList<UnitStatus> manifestStatus(Journal &journal, const QList<ManifestUnit> &units);
