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

// The sheet as a PDF, vector text, one A4 page.
QByteArray sheetPdf(const SheetPage &page);
