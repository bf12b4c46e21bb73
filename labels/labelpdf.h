#pragma once

#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"

#include <QByteArray>
#include <QList>

// Labels as a PDF: one label a page on a roll's size, or a sheet's labels
// row by row, as many pages as they take, the first sheet's from
// `firstPlace` (0 for its first: a sheet partly used before). Vector
// drawing, so the QR code's modules stay sharp at any printer's resolution.
QByteArray labelsPdf(const QList<LabelContent> &labels, const LabelSize &size, int firstPlace = 0);
