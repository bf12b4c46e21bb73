#pragma once

#include "core/journal/journallocation.h"

#include <QCoreApplication>

#include <memory>

class InputHold;
class JournalRecord;
class QMainWindow;
class TransferRunner;
class WindowFiles;
class WindowJournal;
struct ExchangeReport;
struct JournalEntry;
struct LinkSettings;
struct RecordResult;
namespace Ui { class MainWindow; }

// The window's transfers: download, read-up and verify, one at a time on
// the transfer runner while the window takes no input, each kept in the
// journal, and the journal's own view. Its texts are the main window's,
// translated as they always were.
class WindowTransfers
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    WindowTransfers(QMainWindow *window, Ui::MainWindow &ui, LinkSettings &settings, WindowFiles &files,
                    bool &checkingFields);
    ~WindowTransfers();

    void setJournalLocation(const JournalLocation &location);
    const JournalLocation &journalLocation() const;

    // The form's fields have been checked by the window.
    void download();
    void readup();
    void verify();
    // The journal's entries; one chosen becomes the form.
    void showJournal();
    // What changed in the form since the last download into a module with
    // its identifier: the fields marked, and listed then and now.
    void showChanges();

private:
    bool startTransfer();
    void endTransfer();
    JournalRecord beginRecord(const JournalEntry &entry);
    void finishRecord(JournalRecord &record);
    bool tellJournalFailure();
    void reportRefusal(const QList<RecordResult> &refusals);
    void reportAbandonedDownload(const ExchangeReport &report);

    QMainWindow *m_window;
    Ui::MainWindow &ui;
    LinkSettings &m_settings;
    WindowFiles &m_files;
    bool &m_checkingFields;
    std::unique_ptr<TransferRunner> m_runner;  // every transfer, and the journal, off the window's thread
    std::unique_ptr<WindowJournal> m_journal;  // opened for the first transfer
    std::unique_ptr<InputHold> m_inputHold;    // while a transfer runs
};
