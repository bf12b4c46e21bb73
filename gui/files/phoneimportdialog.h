#pragma once

#include "core/phones/contactsfile.h"
#include "core/phones/phoneimport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QTableWidget;

// The preview of a telephone-number import: every entry of the contacts
// file with its name, its number as written and as it will be stored, its
// kind, its class in words and colour, and what it may do. Clean entries
// start chosen, landlines may be chosen, duplicates and errors never; no
// more than the form's free rows go in. The encoding the file was read in,
// the country for numbers without one (the form's own), a table's columns,
// the permissions for all at once, a search and select all/none are here.
class PhoneImportDialog : public QDialog
{
    Q_OBJECT

public:
    PhoneImportDialog(const QByteArray &contacts, const FormValues &form, QWidget *parent);

    QList<ChosenNumber> chosen() const;
    // The preview's columns: the name (ticked when chosen), the number as
    // written and as stored, its kind, its class, then what it may do.
    enum Column { NameColumn, WrittenColumn, StoredColumn, KindColumn, ResultColumn, FirstPermissionColumn };

private:
    void buildChoices(QFormLayout *layout);
    void buildColumnChoice(QFormLayout *layout);
    void buildPermissions(QFormLayout *layout);
    void reread();
    void fillTable();
    void setAll(Qt::CheckState state);
    void setPermissionForAll(int permission, bool on);
    void filter(const QString &text);
    void showSummary();
    QString reasonText(ImportReason reason) const;
    std::optional<ContactColumns> chosenColumns() const;

    QByteArray m_bytes;
    FormValues m_form;
    ContactsRead m_read;
    QList<ImportEntry> m_entries;
    QComboBox *m_encoding;
    QComboBox *m_region;
    QComboBox *m_nameColumn = nullptr;
    QComboBox *m_numberColumn = nullptr;
    QCheckBox *m_header = nullptr;
    QCheckBox *m_boxes[4] = {};
    QLineEdit *m_search;
    QTableWidget *m_preview;
    QLabel *m_summary;
    QDialogButtonBox *m_buttons;
};
