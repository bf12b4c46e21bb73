#pragma once

#include "formvalues.h"

#include <QList>
#include <QString>

// Two forms compared field by field: what verify shows when the module holds
// something else, and what diff shows between two content files.

struct FieldDifference
{
    QString name;    // object name: "m_nev", "t3", "tc1_3"
    QString first;   // the text, or 1 / 0 for a check box
    QString second;
};

// Whether the difference is in a check box: its sides are then 1 and 0.
bool isCheckBox(const FieldDifference &difference);
