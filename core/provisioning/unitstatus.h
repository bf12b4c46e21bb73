#pragma once

#include "core/content/manifest.h"
#include "core/journal/journal.h"
#include "core/journal/processidentity.h"

#include <QHash>
#include <QList>
#include <QString>

// What the journal says of each unit of a manifest: done (proven with this
// content), changed (proven with other content), claimed (a live claim),
// the way its last provisioning ended otherwise, or left.
struct UnitStatus
{
    enum class State {
        Left,
        Done,
        Changed,
        Claimed,
        Failed,       // written (or tried) and not held by the module, or refused
        NotProven,    // written, but no verify's agreement is in the journal
        NotSwapped,   // the module still held another unit: not written
        Interrupted,  // stopped by the technician: the module's content is unknown
        ClaimLost,    // the claim left its run: nothing more was sent
    };
    QString unit;
    State state = State::Left;
    qint64 entry = 0;
    qint64 whenMs = 0;
    QString station;
    ProcessIdentity holder;  // for Claimed: the run that holds the claim
    QString reason;          // for the ways of failing: the journal's id
};

// The state's name as the command line's CSV and JSON give it: "left",
// "done", "changed", "claimed", "failed", "not-proven", "not-swapped",
// "interrupted", "claim-lost".
QString stateName(UnitStatus::State state);

// One query each for the proven units, the failures and the claims, however
// long the manifest. Empty when the journal cannot say. The proven units
// go to `proven` too, when given.
QList<UnitStatus> manifestStatus(Journal &journal, const QList<ManifestUnit> &units,
                                 QHash<QString, Journal::Proven> *proven = nullptr);
