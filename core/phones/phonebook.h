#pragma once

#include "core/form/formvalues.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// Who each of a form's telephone numbers belongs to, and what kind of number
// it is, with the module's own SIM number (the one the customer calls): kept
// beside the content file, which stays as it always was, in a table that
// Excel opens as it is ("kapu.phones.csv" beside "kapu.t16": UTF-8 with its
// byte-order mark, ';' between cells). Each row of the form that has a
// number is a row of the table: its number, name, kind and permissions, so
// that the table reads back into the same rows.
struct PhoneBookEntry
{
    QString name;
    QString type;
};

struct PhoneBook
{
    QHash<QString, PhoneBookEntry> byNumber;  // by the number's stored form
    QString simNumber;

    bool isEmpty() const { return byNumber.isEmpty() && simNumber.isEmpty(); }
    QString nameOf(const QString &number) const { return byNumber.value(number.trimmed()).name; }
};

// "kapu.t16" → "kapu.phones.csv".
QString phoneBookPath(const QString &contentPath);

// The table, headings first: row, name, number, type, the four permissions
// (1 or 0); the SIM number as a row of its own, "SIM".
QByteArray phoneBookBytes(const PhoneBook &book, const FormValues &form);

// The names and kinds of a table of this shape (or of any contacts file
// that names numbers), by number; its SIM row.
PhoneBook readPhoneBook(const QByteArray &bytes);
