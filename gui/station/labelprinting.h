#pragma once

#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"

class QPrinter;

// A proven unit's label on a printer (CUPS on Linux), on the label stock's
// page: the whole page for a roll's label, the first place of a sheet.
// False when the printer would not start.
bool printLabel(QPrinter &printer, const LabelContent &label, const LabelSize &size);
// One sheet of labels, in its places from `firstPlace` (0 for the first:
// a sheet partly used before goes on where it was left), as one job.
bool printSheet(QPrinter &printer, const QList<LabelContent> &labels, const LabelSize &size, int firstPlace = 0);
