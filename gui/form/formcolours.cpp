#include "formcolours.h"

#include <cmath>

namespace {

double relativeLuminance(const QColor &colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

FormColours formColours(const QPalette &palette)
{
    if (palette.color(QPalette::Window).lightnessF() >= 0.5)
        return {QColor(0, 111, 0), QColor(118, 116, 108), QColor(170, 0, 0), QColor(0, 85, 0), QColor(0, 0, 127)};
    return {QColor(130, 230, 130), QColor(170, 168, 160), QColor(255, 150, 150), QColor(130, 220, 130), QColor(160, 180, 255)};
}

QString colourStyle(const QColor &colour)
{
    return QStringLiteral("color: rgb(%1, %2, %3);").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}
