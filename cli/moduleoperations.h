#pragma once

#include "command.h"
#include "form/formvalues.h"
#include "settings/linksettings.h"

class LineInterrupt;
class ProgressBars;

// The three exchanges with a module, as one port's part of a command. Each
// opens `settings.Port`, talks to the module and releases the port.
struct PortContext
{
    int row = 0;
    const LineInterrupt *interrupt = nullptr;
    ProgressBars *bars = nullptr;
};

// The module's content as the window's read-up would put it into the form.
Result readModule(const LinkSettings &settings, const PortContext &context, FormValues *values);

// The record in settings.RecordText written into the module.
Result downloadRecord(const LinkSettings &settings, const PortContext &context);

// The module's content compared with `form`, whose verify text is in
// settings.RecordText.
Result verifyModule(const LinkSettings &settings, const FormValues &form, const PortContext &context);
