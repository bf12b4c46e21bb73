#pragma once

#include "steps.h"

#include <QList>
#include <QString>

class SharedJournal;

// A unit of a batch provisioned as one operation: the module's old content
// kept (when asked), the check that the module is not one just provisioned
// with another unit, the claim renewed, the unit written, read back and
// verified, each step kept in the journal and tried again while the module
// gives no answer, and the unit's claim completed. Both fronts call it and
// phrase its outcome.

enum class UnitState {
    Proven,            // the verify agreed, and the journal holds that
    WrittenNotProven,  // written, but no verify's agreement is in the journal
    Failed,            // written (or tried), and the module does not hold the unit
    NotWritten,        // refused before a byte of the unit went out: see the step
    NotSwapped,        // the module holds another unit just provisioned: not written
    ClaimLost,         // the claim left this run (its lease ran out, another run took it):
                       // nothing more was sent; what was written is not proven
    Interrupted,       // stopped by the interrupt: the module's content is unknown
};

struct UnitJob
{
    QString unit;
    FormValues form;
    const TransferPlan *plan = nullptr;
    int retries = 2;              // more tries of a step that got no answer
    OutputFile *backup = nullptr; // where the old content goes; none: no backup
    EntryName backupName;         // names the backup by its journal entry
    bool force = false;           // write a module that holds another unit
    JournalEntry *claim = nullptr; // the unit's claim entry, completed here
};

struct UnitOutcome
{
    UnitState state = UnitState::NotWritten;
    QList<StepOutcome> steps;   // every try of every step, in order
    QString backup;             // the backup file, when kept
    QString heldUnit;           // for NotSwapped: the unit the module holds
    double seconds = 0;
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
    bool claimRecorded = true;  // the claim's end is in the journal
    JournalProblem journalProblem;

    // The last try of the last step: what decided the outcome.
    const StepOutcome *decisive() const { return steps.isEmpty() ? nullptr : &steps.last(); }
    // Whether any byte of the unit went to the module.
    bool wrote() const;
};

UnitOutcome provisionUnit(const UnitJob &job, const LinkSettings &settings, const StepContext &context, SharedJournal *journal);
