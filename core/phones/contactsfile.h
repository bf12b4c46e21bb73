#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The telephone numbers of a contacts file: a vCard file as phones and
// address books export it (3.0 and 4.0; 2.1's quoted-printable names too),
// or a CSV table with a name column and a number column. One entry per
// number: a contact with two numbers gives two.
struct Contact
{
    QString name;
    QString written;  // the number as the file writes it
    int line = 0;     // where in the file it stands, from 1
};

// A contacts file's bytes as text: UTF-8, as phones and address books
// write it, without the byte-order mark a spreadsheet puts in front.
QString contactsText(const QByteArray &bytes);

// Whether the text is a vCard file rather than a table.
bool isVCardText(const QString &text);

QList<Contact> readVCards(const QString &text);

// A CSV table and which of its columns hold the names and the numbers: its
// header says so when a cell of its first row is a name or number heading
// (in English or Hungarian); otherwise the columns are guessed from the first
// row, and a front lets the person choose.
struct ContactColumns
{
    int name = -1;    // -1: no names
    int number = -1;  // -1: none found
    bool header = false;  // the first row is headings, not a contact
};

struct ContactTable
{
    QList<QStringList> rows;
    ContactColumns columns;
    bool headerSaysColumns = false;  // found by their headings
    int badRow = 0;  // an unterminated quote began in this row; 0 when the table is whole
    int width() const;
};

// The delimiter is the first row's most common of ',', ';' and tab.
ContactTable readContactTable(const QString &text);

QList<Contact> tableContacts(const ContactTable &table, const ContactColumns &columns);
