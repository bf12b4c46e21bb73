#pragma once

#include "command.h"
#include "core/form/formvalues.h"
#include "core/settings/linksettings.h"

class JournalSink;
class LineInterrupt;
class OutputFile;
class ProgressBars;
class TransferPlan;

// The core's module operations as one port's part of a command: the port's
// bar moves while they run, each is kept in the journal from start to end,
// and their outcome becomes the port's Result.
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
// readup -o, and the backup before a download (`operation` names which).
Result readUpToFilePort(OutputFile &file, const LinkSettings &settings, const PortContext &context,
                        const QString &operation);

// The plan of `form` written into the module.
Result downloadPort(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const PortContext &context);

// Whether the module holds `form`.
Result verifyPort(LinkSettings settings, const FormValues &form, const PortContext &context);

// A unit of a batch: its module's old content kept (when `backup` is given),
// its content written, read back and verified; a download or a read-back that
// got no answer is tried `retries` more times, a mismatch is not.
Result provisionUnit(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const PortContext &context,
                     int retries, OutputFile *backup);
