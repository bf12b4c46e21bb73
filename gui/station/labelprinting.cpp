#include "labelprinting.h"

#include "labels/labelpainter.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

bool printLabel(QPrinter &printer, const LabelContent &label, const LabelSize &size)
{
    printer.setPageSize(QPageSize(QSizeF(size.pageWidthMm, size.pageHeightMm), QPageSize::Millimeter));
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Tavir-340 %1").arg(label.unit));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double dotsPerMm = printer.resolution() / 25.4;
    paintLabel(painter, QRectF(size.leftMm * dotsPerMm, size.topMm * dotsPerMm, size.widthMm * dotsPerMm, size.heightMm * dotsPerMm),
               label, dotsPerMm);
    return painter.end();
}
