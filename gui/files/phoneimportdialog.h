#pragma once

#include "core/phones/contactsfile.h"
#include "core/phones/phoneimport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QTableWidget;

// The preview of a telephone-number import: every entry of the contacts
// file with its number as written and as it will be stored, and its class
// in words and colour; only clean entries can be chosen, and no more of
// them than the form has free rows. The country for numbers without one,
// a table's columns and the numbers' permissions are chosen here too.
class PhoneImportDialog : public QDialog
{
    Q_OBJECT

public:
    PhoneImportDialog(const QString &contacts, const FormValues &form, QWidget *parent);

    QStringList chosenNumbers() const;
    ImportPermissions permissions() const;

private:
    void buildColumnChoice();
    void buildPermissions(class QFormLayout *layout);
    void reread();
    void fillTable();
    void showSummary();
    QString reasonText(ImportReason reason) const;

    QString m_text;
    FormValues m_form;
    ContactTable m_table;
    QList<ImportEntry> m_entries;
    QComboBox *m_region;
    QComboBox *m_nameColumn = nullptr;
    QComboBox *m_numberColumn = nullptr;
    QCheckBox *m_header = nullptr;
    QCheckBox *m_boxes[4] = {};
    QTableWidget *m_preview;
    QLabel *m_summary;
    QDialogButtonBox *m_buttons;
};
