#pragma once

#include "command.h"
#include "form/formvalues.h"
#include "settings/linksettings.h"

class LineInterrupt;
class OutputFile;
class ProgressBars;

// The core's module operations as one port's part of a command: the port's
// bar moves while they run, and their outcome becomes the port's Result.
struct PortContext
{
    int row = 0;
    const LineInterrupt *interrupt = nullptr;
    ProgressBars *bars = nullptr;
};

// The module's content, for standard output.
Result readUpPort(const LinkSettings &settings, const PortContext &context, FormValues *values);

// The module's content into `file`, made ready before the port was touched:
// readup -o, and the backup before a download (`operation` names which).
Result readUpToFilePort(OutputFile &file, const LinkSettings &settings, const PortContext &context,
                        const QString &operation);

// The record in settings.RecordText written into the module.
Result downloadPort(const LinkSettings &settings, const PortContext &context);

// Whether the module holds `form`.
Result verifyPort(LinkSettings settings, const FormValues &form, const PortContext &context);
