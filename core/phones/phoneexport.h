#pragma once

#include "core/form/formvalues.h"

#include <QByteArray>

#include <functional>

// The form's telephone numbers as a contacts file, each written "+" and its
// digits, so that an import reads back exactly what the form holds whatever
// country it assumes. `nameOf` names row n (1 … 16) in the front's words.
using RowName = std::function<QString(int row)>;

// A CSV table with the headings "name" and "number".
QByteArray numbersCsv(const FormValues &form, const RowName &nameOf);

// vCard 3.0, one card per number.
QByteArray numbersVCard(const FormValues &form, const RowName &nameOf);
