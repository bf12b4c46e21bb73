#pragma once

#include "command.h"
#include "core/form/formvalues.h"
#include "core/provisioning/steps.h"
#include "core/provisioning/unitprovisioning.h"
#include "core/settings/linksettings.h"

class LineInterrupt;
class OutputFile;
class ProgressBars;
class SharedJournal;
class TransferPlan;

// The core's steps as one port's part of a command: the port's bar moves
// while they run, and their outcome becomes the port's Result, in English.
struct PortContext
{
    PortContext(int row, const LineInterrupt &interrupt, ProgressBars &bars, JournalSink *journal)
        : row(row), interrupt(&interrupt), bars(&bars), journal(journal) {}

    int row = 0;
    const LineInterrupt *interrupt = nullptr;
    ProgressBars *bars = nullptr;
    JournalSink *journal = nullptr;  // the run's; none without a journal
    QString file;                // the content file the run works from, for the journal
    QString unit;                // the unit of a batch, for the journal
    QString backup;              // the backup kept before a download, for the journal
};

// The module's content, for standard output.
Result readUpPort(const LinkSettings &settings, const PortContext &context, FormValues *values);

// The module's content into `file`, made ready before the port was touched:
// readup -o, and the backup before a download (`stage` says which).
Result readUpToFilePort(OutputFile &file, const LinkSettings &settings, const PortContext &context, Stage stage,
                        const EntryName &nameFor = {}, StepOutcome *outcome = nullptr);

Result downloadPort(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const PortContext &context);

// Whether the module holds `form`.
Result verifyPort(const LinkSettings &settings, const FormValues &form, const PortContext &context);

// A unit of a batch, provisioned by the core, as the port's result.
Result provisionPort(const UnitJob &job, const LinkSettings &settings, const PortContext &context, SharedJournal *journal);
