#pragma once

#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"

#include <QRectF>

class QPainter;

// Draws one label into `area` of `painter` (in the painter's units, at
// `dotsPerMm`): the QR code on the left, as tall as the label allows with a
// quiet zone, and beside it the unit in bold (with its station tile's
// number), the module, when, where (the station and the port) and the
// journal entry, each line as large as the label's height allows. The
// same drawing serves the PDF, the printer and the station's preview.
void paintLabel(QPainter &painter, const QRectF &area, const LabelContent &label, double dotsPerMm);

// Where label `place` (0 for the first, row by row) of a page of `size` sits,
// in the painter's units at `dotsPerMm`.
QRectF labelPlace(const LabelSize &size, int place, double dotsPerMm);
