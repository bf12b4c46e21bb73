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
    QList<QStringList> tableRows;
    QList<QPair<QString, QString>> moreFacts;
    QString footer;
};

class QPainter;
class QRectF;

// The sheet drawn into `area` (the page within its margins, in the painter's
// units at `dotsPerMm`): for a printer, its preview and the PDF alike.
void paintSheet(QPainter &painter, const QRectF &area, const SheetPage &page, double dotsPerMm);
// The sheet as a PDF, vector text, one A4 page.
QByteArray sheetPdf(const SheetPage &page);
