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

QList<FieldDifference> compareForms(const FormValues &first, const FormValues &second);

// The form as a module gives it back after a download: the relay time in
// four digits, no blanks at the end of a text.
FormValues asStoredByModule(const FormValues &form);

// "m_nev (Modul neve): file "KAPU", module "KAPU 2"" with the two sides named.
QString describe(const FieldDifference &difference, const QString &firstName, const QString &secondName);
