#pragma once

#include "contactsfile.h"
#include "core/form/formvalues.h"

#include <QList>
#include <QString>

#include <optional>

// Which numbers of a contacts file may go into the form, and putting them
// there. Only clean entries are imported: a warning (a number the form or
// the file already has, a landline where a mobile is usual) or an error (no
// number, or one too long for a telephone field) keeps an entry out.
enum class ImportReason {
    None,
    DuplicateInFile,
    AlreadyInForm,
    Landline,
    NotANumber,
    TooLong,
};

enum class ImportClass { Import, Warning, Error };

ImportClass importClass(ImportReason reason);
// Whether a person may choose to import the entry: a clean one, or a
// landline (a customer's office line that should open the gate), which
// starts unchosen. A duplicate or an error never goes in.
bool isChoosable(ImportReason reason);

struct ImportEntry
{
    Contact contact;
    QString stored;  // the module's form of the number; empty for an error
    ImportReason reason = ImportReason::None;
    ImportClass kind() const { return importClass(reason); }
};

QList<ImportEntry> classifyContacts(const QList<Contact> &contacts, const FormValues &form, const QString &region);

struct ImportCounts
{
    int imports = 0;
    int warnings = 0;
    int errors = 0;
};

ImportCounts countClasses(const QList<ImportEntry> &entries);

// The telephone rows (1 … 16) whose number is empty.
QList<int> freeTelephoneRows(const FormValues &form);


// The numbers put into the free rows in order, each row's boxes set to
// `permissions`; the rows used, or nothing (and the form as it was) when
// there are more numbers than free rows.
std::optional<QList<int>> placeNumbers(FormValues &form, const QStringList &numbers, const ImportPermissions &permissions);

// A number chosen for the form, with what it may do and whose it is; a row
// to go back to, when the file came from a form (0: the first free one).
struct ChosenNumber
{
    QString number;  // stored form
    ImportPermissions permissions;
    QString name;
    QString type;
    int row = 0;
};
// The same, each number with its own permissions.
std::optional<QList<int>> placeChosen(FormValues &form, const QList<ChosenNumber> &chosen);
