#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A one-page A4 sheet as its front phrased it: a title, facts as caption and
// value, a table, more facts below it, and a footer line.
struct SheetPage
{
    QString title;
    QList<QPair<QString, QString>> facts;
    QStringList tableHeader;
    QList<double> columnShares;  // of the width, one a column; empty: equal
    QList<QStringList> tableRows;
    QList<QPair<QString, QString>> moreFacts;
    QString footer;
};

class QPainter;
class QRectF;

// The sheet drawn on `page` (the whole sheet of paper, in the painter's
// units at `dotsPerMm`) within the sheet's own margins, 18 mm all round: on
// a printer, its preview and the PDF alike.
void paintSheet(QPainter &painter, const QRectF &page, const SheetPage &sheet, double dotsPerMm);
// The same within `area`, the margins already taken.
void paintSheetWithin(QPainter &painter, const QRectF &area, const SheetPage &page, double dotsPerMm);
// The sheet as a PDF, vector text, one A4 page.
QByteArray sheetPdf(const SheetPage &page);
