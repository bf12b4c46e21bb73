#include "labelpdf.h"

#include "labelpainter.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <mutex>

QByteArray labelsPdf(const QList<LabelContent> &labels, const LabelSize &size, int firstPlace)
{
    firstPlace = std::clamp(firstPlace, 0, size.perPage() - 1);
    // One at a time: the ports' threads share the font machinery of a
    // program without a window.
    static std::mutex drawing;
    const std::lock_guard lock(drawing);
    constexpr int Resolution = 600;  // dots an inch: the painter's units
    constexpr double DotsPerMm = Resolution / 25.4;
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Resolution);
        writer.setPageSize(QPageSize(QSizeF(size.pageWidthMm, size.pageHeightMm), QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(QStringLiteral("tavir340"));
        writer.setTitle(QStringLiteral("Tavir-340 labels"));
        QPainter painter(&writer);
        for (int i = 0; i < labels.size(); ++i) {
            const int place = (firstPlace + i) % size.perPage();
            if (i > 0 && place == 0)
                writer.newPage();
            paintLabel(painter, labelPlace(size, place, DotsPerMm), labels[i], DotsPerMm);
        }
    }
    return pdf;
}
