#pragma once

#include "core/phones/phonebook.h"
#include "core/phones/phoneimport.h"
#include "core/storage/outputfile.h"

#include <QCoreApplication>

class QWidget;

// The window's phone book: who each of the form's numbers belongs to, what
// kind of number it is, and the module's own SIM number. It comes with a
// content file and is saved with it (beside it, see PhoneBook), an import
// fills it, each telephone field shows its owner as its tool tip, and
// File → Telefonkönyv shows and edits it.
class WindowPhoneBook
{
    Q_DECLARE_TR_FUNCTIONS(WindowPhoneBook)

public:
    explicit WindowPhoneBook(QWidget *form);

    const PhoneBook &book() const { return m_book; }
    // The one beside `contentPath`, or an empty one.
    void load(const QString &contentPath);
    // Beside `contentPath`; nothing is written for an empty book with none there.
    FileError save(const QString &contentPath) const;
    void clear();
    void add(const QList<ChosenNumber> &chosen);
    // Each telephone field's owner, on its tool tip.
    void showNames();
    // File → Telefonkönyv: the names, kinds and SIM number, to edit.
    void edit(QWidget *window);

private:
    QWidget *m_form;
    PhoneBook m_book;
};
