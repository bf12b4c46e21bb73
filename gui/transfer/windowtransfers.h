#pragma once

#include "core/settings/linksettings.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class AnswerProgress;
class JournalRecord;
class QComboBox;
class QMainWindow;
class QWidget;
class TransferPlan;
class WindowFiles;
class WindowJobs;
struct ExchangeReport;
struct FormValues;
struct JournalEntry;
struct RecordResult;

// The window's transfers: download, read-up and verify, each a job of the
// window's (one at a time, on the transfer runner, while the window takes no
// input), each kept in the journal, whose entry is complete before the
// outcome is shown. Each job takes the window's settings as they are when
// it starts; what it leaves behind reaches the window by signal.
class WindowTransfers : public QObject
{
    Q_OBJECT

public:
    // `settings` gives the window's line settings as they are now; `files`
    // is asked whether the form may give way and where it came from.
    WindowTransfers(QMainWindow *window, QWidget *form, QComboBox *operators, std::function<LinkSettings()> settings,
                    WindowFiles &files, WindowJobs &jobs);
    ~WindowTransfers() override;

    // The form's fields have been checked by the window. Each starts its
    // job and returns at once.
    void download();
    void readup();
    void verify();

signals:
    // The record a download or verify built (empty when it was refused).
    void recordBuilt(const QString &record);
    // The module holds `form` now, and the journal says so.
    void formSent(const FormValues &form);
    // The form holds what the module on `port` held, journal entry `entry`.
    void formReadUp(const QString &port, qint64 entry);
    // A box is about to take the focus from a field (true) or has closed
    // (false): the field's check must not run meanwhile.
    void fieldChecksHeld(bool held);

private:
    struct Upload;
    using Record = std::shared_ptr<JournalRecord>;
    void beginEntry(const JournalEntry &start, std::function<void(Record)> then);
    void endUnsent(const Record &record);
    void startDownload(const Record &record, const FormValues &form, const LinkSettings &settings,
                       const TransferPlan &plan);
    void startReadup(const std::shared_ptr<Upload> &upload);
    void startVerify(const std::shared_ptr<Upload> &upload);
    void endVerify(const std::shared_ptr<Upload> &upload);
    void reportRefusal(const QList<RecordResult> &refusals, char separator);
    void reportAbandonedDownload(const ExchangeReport &report);

    QMainWindow *m_window;
    QWidget *m_form;
    QComboBox *m_operators;
    std::function<LinkSettings()> m_settings;
    WindowFiles &m_files;
    WindowJobs &m_jobs;
    std::unique_ptr<AnswerProgress> m_progress;  // a read-up's or verify's, on the window's thread alone
};
