#include "labelsize.h"

const QList<LabelSize> &labelSizes()
{
    // 62 × 29 and 62 × 100 mm: the common die-cut labels of 62 mm label
    // printers. A4 3 × 8 of 70 × 37 mm and 2 × 7 of 99.1 × 38.1 mm: the
    // common office sheets, which fill the page from its edges.
    static const QList<LabelSize> sizes = {
        {QStringLiteral("62x29"), 62, 29, 62, 29, 1, 1, 0, 0},
        {QStringLiteral("62x100"), 62, 100, 62, 100, 1, 1, 0, 0},
        {QStringLiteral("a4-3x8"), 70, 37, 210, 297, 3, 8, 0, 0.5},
        {QStringLiteral("a4-2x7"), 99.1, 38.1, 210, 297, 2, 7, 5.9, 15.15},
    };
    return sizes;
}

const LabelSize *labelSize(const QString &id)
{
    for (const LabelSize &size : labelSizes()) {
        if (size.id == id)
            return &size;
    }
    return nullptr;
}
