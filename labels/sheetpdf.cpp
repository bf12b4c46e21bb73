#include "sheetpdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr int Resolution = 300;
constexpr double MarginMm = 18;
constexpr double LineMm = 6.2;

// Caption and value pairs, the values in a column of their own; a long
// value wraps onto the lines below it.
double paintFacts(QPainter &painter, double left, double top, double width, double line, const QList<QPair<QString, QString>> &facts)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const double valueWidth = width * 0.6;
    for (const auto &[caption, value] : facts) {
        const double height = std::max(line, painter.boundingRect(QRectF(0, 0, valueWidth, line), flags, value).height() + 0.3 * line);
        const double inset = 0.15 * line;  // the first line where a one-line fact would have it
        painter.drawText(QRectF(left, top + inset, width * 0.4, height), flags, caption);
        painter.drawText(QRectF(left + width * 0.4, top + inset, valueWidth, height), flags, value);
        top += height;
    }
    return top;
}

double paintTable(QPainter &painter, double x, double top, double width, double line, const SheetPage &page)
{
    const int columns = int(page.tableHeader.size());
    if (columns == 0)
        return top;
    QList<double> widths;
    for (int c = 0; c < columns; ++c)
        widths << width * (page.columnShares.size() == columns ? page.columnShares[c] : 1.0 / columns);
    // A row is as high as its tallest cell once wrapped (a heading may take
    // two lines), so that nothing runs into the rule below it.
    auto paintRow = [&](const QStringList &cells) {
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
        double height = line;
        for (int c = 0; c < columns; ++c)
            height = std::max(height, painter.boundingRect(QRectF(0, 0, widths[c] - 1, line), flags, cells.value(c)).height() + 0.3 * line);
        double left = x;
        for (int c = 0; c < columns; ++c) {
            painter.drawText(QRectF(left, top, widths[c] - 1, height), flags, cells.value(c));
            left += widths[c];
        }
        top += height;
    };
    QFont bold = painter.font();
    bold.setBold(true);
    const QFont plain = painter.font();
    painter.setFont(bold);
    paintRow(page.tableHeader);
    painter.setFont(plain);
    painter.drawLine(QPointF(x, top), QPointF(x + width, top));
    for (const QStringList &row : page.tableRows)
        paintRow(row);
    return top;
}

} // namespace

void paintSheet(QPainter &painter, const QRectF &page, const SheetPage &sheet, double dotsPerMm)
{
    const double margin = MarginMm * dotsPerMm;
    const QRectF area = page.adjusted(margin, margin, -margin, -margin);
    paintSheetWithin(painter, area, sheet, dotsPerMm);
}

void paintSheetWithin(QPainter &painter, const QRectF &area, const SheetPage &page, double dotsPerMm)
{
    painter.save();
    const double line = LineMm * dotsPerMm;
    const double left = area.left();
    const double width = area.width();
    QFont font = painter.font();
    font.setPointSizeF(10);
    QFont title = font;
    title.setPointSizeF(15);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(left, area.top(), width, 3 * line), Qt::AlignLeft | Qt::AlignVCenter, page.title);
    painter.setFont(font);
    double top = area.top() + 3 * line;
    top = paintFacts(painter, left, top, width, line, page.facts) + line;
    top = paintTable(painter, left, top, width, line, page) + line;
    top = paintFacts(painter, left, top, width, line, page.moreFacts) + 2 * line;
    painter.drawText(QRectF(left, top, width, line), Qt::AlignLeft | Qt::AlignVCenter, page.footer);
    painter.restore();
}

QByteArray sheetPdf(const SheetPage &page)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setCreator(QStringLiteral("tavir340"));
    writer.setTitle(page.title);
    QPainter painter(&writer);
    paintSheet(painter, QRectF(0, 0, writer.width(), writer.height()), page, Resolution / 25.4);
    painter.end();
    return pdf;
}
