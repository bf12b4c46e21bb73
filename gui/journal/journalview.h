#pragma once

#include "core/journal/journalentry.h"

#include <QDialog>

class Journal;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The journal window: the journal's entries as a table, newest first, narrowed
// by a module's identifier or name and by the result. The chosen entry's
// content can go into the form; the entries shown can be exported as CSV.
class journalView : public QDialog
{
    Q_OBJECT

public:
    // How many of the newest entries the table holds at most.
    static constexpr int ShownEntries = 500;

    journalView(Journal &journal, QWidget *parent);

    // The entry chosen with "Betöltés az űrlapba", once the dialog has been
    // accepted.
    const std::optional<JournalEntry> &chosen() const { return m_chosen; }
    QTableWidget *table() const { return m_table; }

private:
    void refresh();
    void choose();
    void exportCsv();

    Journal &m_journal;
    QLineEdit *m_filter;
    QComboBox *m_result;
    QTableWidget *m_table;
    QPushButton *m_open;
    QPushButton *m_export;
    QList<JournalEntry> m_entries;
    std::optional<JournalEntry> m_chosen;
};
