#include "labelpainter.h"

#include "core/label/qrcode.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double MarginMm = 1.5;
constexpr int QuietModules = 2;  // around the code: enough for a phone's reader on a white label

void paintQr(QPainter &painter, const QRectF &square, const QrCode &code)
{
    const double module = square.width() / (code.size + 2 * QuietModules);
    painter.fillRect(square, Qt::white);
    for (int y = 0; y < code.size; ++y) {
        for (int x = 0; x < code.size; ++x) {
            if (code.isDark(x, y))
                painter.fillRect(QRectF(square.left() + (x + QuietModules) * module, square.top() + (y + QuietModules) * module,
                                        module, module),
                                 Qt::black);
        }
    }
}

// The lines beside the code, the first in bold, sized so that all of them
// fit the height and the widest fits the width.
void paintLines(QPainter &painter, const QRectF &box, const QStringList &lines)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    double pixels = box.height() / (lines.size() + 0.8);
    for (;;) {
        font.setPixelSize(std::max(1, int(pixels)));
        QFont bold = font;
        bold.setBold(true);
        double widest = QFontMetricsF(bold).horizontalAdvance(lines.first());
        for (const QString &line : lines.mid(1))
            widest = std::max(widest, QFontMetricsF(font).horizontalAdvance(line));
        if (widest <= box.width() || pixels <= 1)
            break;
        pixels *= box.width() / widest * 0.98;
    }
    const double step = box.height() / lines.size();
    for (int i = 0; i < lines.size(); ++i) {
        QFont lineFont = font;
        lineFont.setBold(i == 0);
        painter.setFont(lineFont);
        painter.drawText(QRectF(box.left(), box.top() + i * step, box.width(), step), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
}

} // namespace

void paintLabel(QPainter &painter, const QRectF &area, const LabelContent &label, double dotsPerMm)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    const QRectF inner = area.adjusted(MarginMm * dotsPerMm, MarginMm * dotsPerMm, -MarginMm * dotsPerMm, -MarginMm * dotsPerMm);
    const double side = std::min(inner.height(), inner.width() / 2);
    const QrCode code = encodeQr(label.qrPayload());
    if (code.size > 0)
        paintQr(painter, QRectF(inner.topLeft(), QSizeF(side, side)), code);
    const QRectF text(inner.left() + side + MarginMm * dotsPerMm, inner.top(), inner.width() - side - MarginMm * dotsPerMm, inner.height());
    const QString unit = label.tile > 0 ? QStringLiteral("%1  [%2]").arg(label.unit).arg(label.tile) : label.unit;
    QStringList place = {label.station, label.port, QStringLiteral("#") + QString::number(label.entry)};
    place.removeAll(QString());
    QStringList lines = {unit, (label.moduleId + QStringLiteral("  ") + label.moduleName).trimmed(), label.provenUtc(),
                         place.join(QStringLiteral("  "))};
    paintLines(painter, text, lines);
    painter.restore();
}

QRectF labelPlace(const LabelSize &size, int place, double dotsPerMm)
{
    const double left = size.leftMm + (place % size.columns) * size.widthMm;
    const double top = size.topMm + (place / size.columns) * size.heightMm;
    return QRectF(left * dotsPerMm, top * dotsPerMm, size.widthMm * dotsPerMm, size.heightMm * dotsPerMm);
}
