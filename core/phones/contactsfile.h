#pragma once

#include "contactstext.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The telephone numbers of a contacts file, whatever its format: a vCard
// file as phones and address books export it (2.1 with quoted-printable
// values in their own CHARSET, 3.0 and 4.0), or a table — a CSV of Google's,
// Outlook's or a spreadsheet's, comma, semicolon or tab between its cells,
// Excel's "sep=" line understood. One entry per number: a contact with two
// numbers, in two columns or in one cell (Google's " ::: "), gives two.
// What a number may do, as the form's four boxes of its row say.
struct ImportPermissions
{
    bool alarmInput1 = false;
    bool alarmInput2 = false;
    bool controlOutput3 = false;
    bool controlOutput4 = false;
};

struct Contact
{
    QString name;
    QString written;  // the number as the file writes it
    QString type;     // what the file calls the number: "Mobile", "Business Phone", "CELL"; may be empty
    int line = 0;     // where in the file it stands, from 1
    // From a table this program wrote (an export, a phone book): the form's
    // row the number stood in (-1: the module's own SIM number), and what it
    // could do there.
    int row = 0;
    std::optional<ImportPermissions> permissions;
};

// A table's columns: the names (joined in the order they stand, "First
// Name" "Last Name" or "Vezetéknév" "Keresztnév"), every number column, and
// for each the column that names its kind, if any.
struct ContactColumns
{
    QList<int> name;     // empty: no names
    QList<int> numbers;  // empty: none found
    QList<int> types;    // beside `numbers`: -1 where the heading names the kind
    bool header = false; // the first row is headings, not a contact
    int row = -1;        // a table of this program's: the form's row
    QList<int> permissions;  // and its four permissions, or none
};

struct ContactTable
{
    QList<QStringList> rows;
    ContactColumns columns;
    bool headerSaysColumns = false;  // found by their headings
    int width() const;
    QString heading(int column) const;
};

// What a person may choose: the encoding, and a table's columns.
struct ContactChoice
{
    QString encoding;                      // empty: as found
    std::optional<ContactColumns> columns; // none: as found
};

struct ContactsRead
{
    enum class Problem { None, UnterminatedQuote, NoNumberColumn };
    Problem problem = Problem::None;
    int badRow = 0;       // where the quote that is never closed began
    ContactsText text;    // with the encoding it was read in
    bool vCard = false;
    ContactTable table;   // a table's, as found
    QList<Contact> contacts;
};
ContactsRead readContacts(const QByteArray &bytes, const ContactChoice &choice = {});

// A table's column named by its heading (whole, any case) or by its number
// from 1; -1 for none.
int contactColumn(const ContactTable &table, const QString &named);
