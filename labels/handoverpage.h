#pragma once

#include "core/form/handoversheet.h"
#include "sheetpdf.h"

#include <QDate>

// The customer's sheet in the language installed (see Language): Hungarian,
// the program's own, or English; one phrasing for the window and the
// command line alike. What the customer does to open the gate is on it:
// which number to call, and from which numbers.
struct HandoverOptions
{
    bool withPin = false;
    QString installer;  // name and company, at the foot
    QDate date;
};

SheetPage handoverPage(const HandoverSheet &sheet, const HandoverOptions &options);
