#pragma once

#include <QColor>
#include <QPalette>

// The form's own colours: the original dark green text, dark red hints
// and green and blue column headers on a light window; lighter kin of them on
// a dark one, so that each keeps a contrast of at least 4.5 to 1 against the
// background it stands on.
struct FormColours
{
    QColor text;          // typed into the fields
    QColor disabledText;
    QColor hint;          // the red hints beside the fields
    QColor alarmHeader;   // "Bemenet riasztás"
    QColor controlHeader; // "Kimenet vezérlés"
};

FormColours formColours(const QPalette &palette);

// The contrast ratio of two colours, 1 to 21 (WCAG 2).
double contrastRatio(const QColor &a, const QColor &b);

// "color: rgb(170, 0, 0);", as a label's style sheet gives its colour.
QString colourStyle(const QColor &colour);
