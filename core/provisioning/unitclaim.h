#pragma once

#include "core/content/manifest.h"
#include "core/journal/journal.h"
#include "core/journal/journalentry.h"
#include "unitprovisioning.h"

#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <mutex>

class SharedJournal;

// What the ports of one batch share: the manifest's units and how they are
// provisioned. Both fronts fill it in and hand it to every port; the ports
// only read the units (through a const reference, which never detaches the
// list another port's thread reads).
struct Batch
{
    QList<ManifestUnit> units;
    FormValues templateForm;  // and the settings: what the manifest was checked with,
    LinkSettings settings;    // from which each unit is built as it is taken
    QString manifestPath;
    QString backupFolder;  // empty: no backup, and so no check that the module was swapped
    int retries = 2;
    bool again = false;    // take units the journal holds as done
    bool onlyOne = false;  // the one unit asked for, even if changed since provisioned
    bool force = false;    // write a module that holds another unit

    // Without a journal, the ports of one run still never take the same unit.
    std::mutex takenMutex;
    QSet<int> taken;
};

// The next unit a port takes: the first of `candidates` (indexes into the
// batch's units, in the manifest's order) that the journal lets it claim,
// or, without a journal, that no other port of the run has taken.
struct ClaimedUnit
{
    enum class Kind { Taken, NoneLeft, JournalRefused };
    Kind kind = Kind::NoneLeft;
    int index = -1;
    JournalEntry claim;                         // the unit's provision entry, begun
    QList<Journal::ClaimResult> heldElsewhere;  // units another run holds
};
ClaimedUnit claimNextUnit(Batch &batch, const QList<int> &candidates, const QString &port, SharedJournal *journal);

// A claimed unit's job, with the unit built from its row and the backup
// file it writes kept beside it.
struct PreparedUnit
{
    std::unique_ptr<BuiltUnit> built;
    std::unique_ptr<OutputFile> backup;
    UnitJob job;
};
PreparedUnit prepareUnit(const Batch &batch, int index, JournalEntry *claim);
