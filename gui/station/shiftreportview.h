#pragma once

#include "labels/sheetpdf.h"

class QWidget;

// "Műszak összesítő": the station's report of its batch as a page to look
// at, print or save as a PDF, beside the station, which goes on meanwhile.
void showShiftReport(QWidget *station, const SheetPage &page);
