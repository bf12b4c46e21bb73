#pragma once

#include "formvalues.h"

#include <QList>
#include <QString>

// Two forms compared field by field: what verify shows when the module holds
// something else, and what diff shows between two content files.

struct FieldDifference
{
    QString name;    // object name: "m_nev", "t3", "tc1_3"
    QString title;   // "Modul neve", "Telefonszám 3", "Telefonszám 3, Bemenet riasztás 2"
    QString first;   // the text, or 1 / 0 for a check box
    QString second;
};

// The form as a module gives it back after a download: the relay time in
// four digits, no blanks at the end of a text.
FormValues asStoredByModule(const FormValues &form);

// Every field in which the two differ once each is as a module stores it, so
// that "5" and "0005" in the relay time are the same. Verify compares the form
// with the module this way, diff two content files.
QList<FieldDifference> compareAsStored(const FormValues &first, const FormValues &second);

// Whether the difference is in a check box: its sides are then 1 and 0.
bool isCheckBox(const FieldDifference &difference);
