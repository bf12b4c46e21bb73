#pragma once

#include "core/provisioning/shiftreport.h"
#include "sheetpdf.h"

#include <functional>
#include <optional>

// What a shift's report covers, for its heading.
struct ShiftReportHeading
{
    QString manifest;               // the manifest's file name
    std::optional<qint64> sinceMs;  // attempts ended from then on
    QString station;                // one station's; empty: every station
    qint64 madeMs = 0;
};

// A shift's report on one A4 page in the language installed (see Language):
// a row per station and the total, then each station's failures by their
// reasons, phrased by the front that asks (`reasonText` takes a journal
// reason id).
SheetPage shiftReportPage(const ShiftReport &report, const ShiftReportHeading &heading,
                          const std::function<QString(const QString &)> &reasonText);
