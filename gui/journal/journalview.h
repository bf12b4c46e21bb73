#pragma once

#include "readerthread.h"
#include "core/journal/journalentry.h"

#include "core/journal/journal.h"

#include <QDialog>

#include <memory>

class JournalSearch;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTableWidget;

// The journal window: the journal's entries as a table, newest first, narrowed
// by a module's identifier or name and by the result, with how many match.
// The table holds a page and takes the next as it is scrolled; searches run
// off the window's thread. The chosen entry's content can go into the form;
// every matching entry can be exported as CSV.
class journalView : public QDialog
{
    Q_OBJECT

public:
    journalView(const JournalLocation &journal, QWidget *parent);
    ~journalView() override;

    // The entry chosen with "Betöltés az űrlapba", once the dialog has been
    // accepted.
    const std::optional<JournalEntry> &chosen() const { return m_chosen; }
    QTableWidget *table() const { return m_table; }

    // Only the entries of this unit of a batch, as the station opens it.
    void showUnit(const QString &unit);
    // How many entries match the filter; -1 while they are being counted.
    qint64 matching() const { return m_total; }

private:
    void createWidgets();
    Journal::Filter filter() const;
    void refresh();
    void showPage(int generation, const QList<JournalEntry> &entries, bool more);
    void showCount();
    void loadMore();
    void choose();
    void chooseEntry(const std::optional<JournalEntry> &full);
    QList<int> selectedRows() const;
    void compare();
    void showComparison(const std::optional<JournalEntry> &older, const std::optional<JournalEntry> &newer);
    void exportCsv();

    ReaderThread m_thread;
    JournalSearch *m_search = nullptr;  // lives on m_thread
    QLineEdit *m_filter = nullptr;
    QComboBox *m_result = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_compare = nullptr;  // two entries chosen: what differs between their forms
    QPushButton *m_export = nullptr;
    QList<JournalEntry> m_entries;
    QString m_unit;
    int m_generation = 0;
    qint64 m_total = -1;
    bool m_more = false;
    bool m_loading = false;
    std::optional<JournalEntry> m_chosen;
    std::unique_ptr<QProgressDialog> m_exporting;  // while an export runs
};
