#pragma once

#include "formvalues.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// What the customer's hand-over sheet says of a configuration, as plain
// values: the module, the number to call it on, its settings, its texts and
// each telephone row that has a number, whose it is and what it may do.
// Each front phrases it (see handoverPage).
struct HandoverRow
{
    int row = 0;  // 1 … 16
    QString number;
    QString name;  // from the phone book
    bool alarmedByInput1 = false;
    bool alarmedByInput2 = false;
    bool controlsOutput3 = false;  // the outputs are numbered 3 and 4
    bool controlsOutput4 = false;
    bool controls() const { return controlsOutput3 || controlsOutput4; }
};

struct HandoverSheet
{
    QString moduleName;
    QString moduleId;
    QString simNumber;  // the module's own, to call; empty when not known
    QString pin;
    int relaySeconds = 0;
    bool restore = false;
    QString input1Name;
    QString input2Name;
    QList<QPair<int, QString>> texts;  // the SMS texts: field and text, in the form's order
    QList<HandoverRow> rows;
};

// `nameOf` names a number's owner (the phone book's); `simNumber` is the
// module's own.
HandoverSheet handoverSheet(const FormValues &form, const std::function<QString(const QString &number)> &nameOf = {},
                            const QString &simNumber = {});

// A name for the sheet's file that every common file system takes (FAT on
// a USB stick included): the characters they refuse left out.
QString sheetFileName(const QString &moduleName);
