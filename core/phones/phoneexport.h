#pragma once

#include "core/form/formvalues.h"
#include "phonebook.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The form's telephone numbers as a contacts file, each written "+" and its
// digits, so that an import reads back exactly what the form holds whatever
// country it assumes. The table is the phone book's (names, kinds, rows and
// permissions: it reads back into the same rows); the vCard has the names
// and kinds, and a row without a name is named by `nameOf` in the front's
// words.
using RowName = std::function<QString(int row)>;

enum class PhoneExportFormat { Table, VCard };
// The format a file's name asks for: ".vcf" or ".vcard" a vCard, else a table.
PhoneExportFormat exportFormatOf(const QString &fileName);

// vCard 3.0, one card per number.
QByteArray numbersVCard(const FormValues &form, const PhoneBook &book, const RowName &nameOf);

QByteArray exportedNumbers(PhoneExportFormat format, const FormValues &form, const PhoneBook &book, const RowName &nameOf);
