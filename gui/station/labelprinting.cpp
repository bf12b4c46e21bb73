#include "labelprinting.h"

#include "labels/labelpainter.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

bool printLabel(QPrinter &printer, const LabelContent &label, const LabelSize &size)
{
    return printSheet(printer, {label}, size);
}

bool printSheet(QPrinter &printer, const QList<LabelContent> &labels, const LabelSize &size, int firstPlace)
{
    if (labels.isEmpty() || firstPlace < 0 || firstPlace + labels.size() > size.perPage())
        return false;
    printer.setPageSize(QPageSize(QSizeF(size.pageWidthMm, size.pageHeightMm), QPageSize::Millimeter));
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Tavir-340 %1").arg(labels.first().unit));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double dotsPerMm = printer.resolution() / 25.4;
    for (int place = 0; place < labels.size(); ++place)
        paintLabel(painter, labelPlace(size, firstPlace + place, dotsPerMm), labels[place], dotsPerMm);
    return painter.end();
}
