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

// Caption and value pairs, the values in a column of their own.
double paintFacts(QPainter &painter, double left, double top, double width, double line, const QList<QPair<QString, QString>> &facts)
{
    for (const auto &[caption, value] : facts) {
        painter.drawText(QRectF(left, top, width * 0.4, line), Qt::AlignLeft | Qt::AlignVCenter, caption);
        painter.drawText(QRectF(left + width * 0.4, top, width * 0.6, line), Qt::AlignLeft | Qt::AlignVCenter, value);
        top += line;
    }
    return top;
}

double paintTable(QPainter &painter, double x, double top, double width, double line, const SheetPage &page)
{
    const int columns = int(page.tableHeader.size());
    if (columns == 0)
        return top;
    // The first two columns (the row and the number) narrow and wide, the
    // rest sharing what is left.
    QList<double> widths = {0.06 * width, 0.26 * width};
    for (int c = 2; c < columns; ++c)
        widths << (width - widths[0] - widths[1]) / (columns - 2);
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

void paintSheet(QPainter &painter, const QRectF &area, const SheetPage &page, double dotsPerMm)
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
    writer.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter);
    writer.setCreator(QStringLiteral("tavir340"));
    writer.setTitle(page.title);
    QPainter painter(&writer);
    paintSheet(painter, QRectF(0, 0, writer.width(), writer.height()), page, Resolution / 25.4);
    painter.end();
    return pdf;
}
