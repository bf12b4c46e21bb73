#pragma once

#include <QList>
#include <QString>

// The label stocks a label can be made for: rolls of one label a page (the
// label printers' 62 mm tape) and A4 sheets of several. Sizes in millimetres.
struct LabelSize
{
    QString id;            // as the command line and the station name it: "62x29", "a4-3x8"
    double widthMm = 0;    // of one label
    double heightMm = 0;
    double pageWidthMm = 0;
    double pageHeightMm = 0;
    int columns = 1;       // labels across a page, and down it
    int rows = 1;
    double leftMm = 0;     // where the first label sits on the page
    double topMm = 0;

    int perPage() const { return columns * rows; }
};

const QList<LabelSize> &labelSizes();
// The size of that id, or none.
const LabelSize *labelSize(const QString &id);
