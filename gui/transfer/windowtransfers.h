#pragma once

#include <QCoreApplication>
#include <QList>

#include <functional>
#include <memory>

class AnswerProgress;
class JournalRecord;
class QMainWindow;
class TransferPlan;
class WindowFiles;
class WindowJobs;
struct ExchangeReport;
struct FormValues;
struct JournalEntry;
struct LinkSettings;
struct RecordResult;
namespace Ui { class MainWindow; }

// The window's transfers: download, read-up and verify, each a job of the
// window's (one at a time, on the transfer runner, while the window takes no
// input), each kept in the journal, whose entry is complete before the
// outcome is shown. Its texts are the main window's, translated as they
// always were.
class WindowTransfers
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    WindowTransfers(QMainWindow *window, Ui::MainWindow &ui, LinkSettings &settings, WindowFiles &files,
                    bool &checkingFields, WindowJobs &jobs);
    ~WindowTransfers();

    // The form's fields have been checked by the window. Each starts its
    // job and returns at once.
    void download();
    void readup();
    void verify();

private:
    struct Upload;
    using Record = std::shared_ptr<JournalRecord>;
    void beginEntry(const JournalEntry &start, std::function<void(Record)> then);
    void endUnsent(const Record &record);
    void startDownload(const Record &record, const FormValues &form, const TransferPlan &plan);
    void startReadup(const std::shared_ptr<Upload> &upload);
    void startVerify(const std::shared_ptr<Upload> &upload);
    void endVerify(const std::shared_ptr<Upload> &upload);
    void reportRefusal(const QList<RecordResult> &refusals);
    void reportAbandonedDownload(const ExchangeReport &report);

    QMainWindow *m_window;
    Ui::MainWindow &ui;
    LinkSettings &m_settings;
    WindowFiles &m_files;
    bool &m_checkingFields;
    WindowJobs &m_jobs;
    std::unique_ptr<AnswerProgress> m_progress;  // a read-up's or verify's, on the window's thread alone
};
