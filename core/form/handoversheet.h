#pragma once

#include "formvalues.h"

#include <QPair>

#include <QList>
#include <QString>

// What the customer's hand-over sheet says of a configuration, as plain
// values: the module, its settings, its texts and each telephone row that
// has a number, with what that number may do. Each front phrases it.
struct HandoverRow
{
    int row = 0;  // 1 … 16
    QString number;
    bool alarmedByInput1 = false;
    bool alarmedByInput2 = false;
    bool controlsOutput3 = false;  // the outputs are numbered 3 and 4
    bool controlsOutput4 = false;
};

struct HandoverSheet
{
    QString moduleName;
    QString moduleId;
    QString pin;
    QString relayTime;
    QString restore;
    QString input1Name;
    QString input2Name;
    QList<QPair<int, QString>> texts;  // the SMS texts: field and text, in the form's order
    QList<HandoverRow> rows;
};

HandoverSheet handoverSheet(const FormValues &form);
