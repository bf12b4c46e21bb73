#include "sheetpdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int Resolution = 300;
constexpr double DotsPerMm = Resolution / 25.4;
constexpr double MarginMm = 18;
constexpr double LineMm = 6.2;

// Caption and value pairs, the values in a column of their own.
double paintFacts(QPainter &painter, double top, double width, const QList<QPair<QString, QString>> &facts)
{
    for (const auto &[caption, value] : facts) {
        painter.drawText(QRectF(0, top, width * 0.4, LineMm * DotsPerMm), Qt::AlignLeft | Qt::AlignVCenter, caption);
        painter.drawText(QRectF(width * 0.4, top, width * 0.6, LineMm * DotsPerMm), Qt::AlignLeft | Qt::AlignVCenter, value);
        top += LineMm * DotsPerMm;
    }
    return top;
}

double paintTable(QPainter &painter, double top, double width, const SheetPage &page)
{
    const int columns = int(page.tableHeader.size());
    if (columns == 0)
        return top;
    // The first two columns (the row and the number) narrow and wide, the
    // rest sharing what is left.
    QList<double> widths = {0.06 * width, 0.26 * width};
    for (int c = 2; c < columns; ++c)
        widths << (width - widths[0] - widths[1]) / (columns - 2);
    auto paintRow = [&](const QStringList &cells) {
        double left = 0;
        for (int c = 0; c < columns; ++c) {
            painter.drawText(QRectF(left, top, widths[c] - 1, LineMm * DotsPerMm), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                             cells.value(c));
            left += widths[c];
        }
        top += LineMm * DotsPerMm;
    };
    QFont bold = painter.font();
    bold.setBold(true);
    const QFont plain = painter.font();
    painter.setFont(bold);
    paintRow(page.tableHeader);
    painter.setFont(plain);
    painter.drawLine(QPointF(0, top), QPointF(width, top));
    for (const QStringList &row : page.tableRows)
        paintRow(row);
    return top;
}

} // namespace

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
    const double width = writer.width();
    QFont font = painter.font();
    font.setPointSizeF(10);
    painter.setFont(font);
    QFont title = font;
    title.setPointSizeF(15);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(0, 0, width, 3 * LineMm * DotsPerMm), Qt::AlignLeft | Qt::AlignVCenter, page.title);
    painter.setFont(font);
    double top = 3 * LineMm * DotsPerMm;
    top = paintFacts(painter, top, width, page.facts) + LineMm * DotsPerMm;
    top = paintTable(painter, top, width, page) + LineMm * DotsPerMm;
    top = paintFacts(painter, top, width, page.moreFacts) + 2 * LineMm * DotsPerMm;
    painter.drawText(QRectF(0, top, width, LineMm * DotsPerMm), Qt::AlignLeft | Qt::AlignVCenter, page.footer);
    painter.end();
    return pdf;
}
