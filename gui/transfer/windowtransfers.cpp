#include "windowtransfers.h"

#include "core/journal/journalrecord.h"
#include "core/link/lineinterrupt.h"
#include "core/link/seriallink.h"
#include "core/plan/transferplan.h"
#include "gui/dialogs/messagebox.h"
#include "gui/files/windowfiles.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/texts/windowtexts.h"
#include "answerprogress.h"
#include "dload.h"
#include "uploadcommands.h"
#include "windowjobs.h"

#include <QDebug>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QScopeGuard>

// A read-up's or verify's state, shared by the window's thread and the job:
// each touches it only while the other does not.
struct WindowTransfers::Upload
{
    Upload(const LinkSettings &settings, const FormValues &form) : settings(settings), form(form), link(&interrupt) {}

    LinkSettings settings;
    FormValues form;
    LineInterrupt interrupt;  // Cancel, Escape, or the window's close
    SerialLink link;          // a verify's: open until the technician has read the outcome
    Record record;
    ReadupOutcome readup;
    VerifyOutcome verify;
    std::optional<JournalProblem> failure;
};

WindowTransfers::WindowTransfers(QMainWindow *window, QWidget *form, QComboBox *operators,
                                 std::function<LinkSettings()> settings, WindowFiles &files, WindowJobs &jobs)
    : m_window(window)
    , m_form(form)
    , m_operators(operators)
    , m_settings(std::move(settings))
    , m_files(files)
    , m_jobs(jobs)
{
}

WindowTransfers::~WindowTransfers() = default;

// The entry is begun on the runner's thread, and a journal that failed is
// named before the transfer goes ahead unrecorded. A window that is closing
// sends nothing: the entry says so.
void WindowTransfers::beginEntry(const JournalEntry &start, std::function<void(Record)> then)
{
    auto record = std::make_shared<JournalRecord>(nullptr, start);
    auto failure = std::make_shared<std::optional<JournalProblem>>();
    m_jobs.run([journal = m_jobs.journal(), start, record, failure]() mutable {
        *record = journal.begin(start);
        *failure = journal.takeFailure();
    }, [this, record, failure, then] {
        m_jobs.tellJournalFailure(*failure);
        if (m_jobs.isStopping())
            endUnsent(record);
        else
            then(record);
    });
}

void WindowTransfers::endUnsent(const Record &record)
{
    m_jobs.run([journal = m_jobs.journal(), record]() mutable {
        ExchangeReport report;
        report.ending = Ending::Cancelled;
        setEnding(record->entry(), report);
        journal.finish(*record);
    }, [this] { m_jobs.end(); });
}

void WindowTransfers::download()
{
    if (m_jobs.isBusy())
        return;
    FieldMarks::clear(m_form);
    const FormValues form = readForm(m_form);
    const LinkSettings settings = m_settings();
    const PlannedTransfer planned = planTransfer(form, settings, RecordPurpose::Download);
    emit recordBuilt(planned.plan ? planned.plan->record() : QString());
    if (!planned.plan) {
        reportRefusal(planned.refusals, settings.DownloadSeparator);
        return;
    }
    JournalEntry start = startEntry(JournalName::Download, settings.Port);
    setContent(start, form);
    start.recordSha256 = planned.plan->recordSha256();
    start.file = m_files.origin().recordedSource();
    m_jobs.begin();
    beginEntry(start, [this, form, settings, plan = *planned.plan](const Record &record) {
        startDownload(record, form, settings, plan);
    });
}

// The dialog's job writes the module and completes the entry; the dialog
// shows the outcome after that, and the window goes on once it has closed.
void WindowTransfers::startDownload(const Record &record, const FormValues &form, const LinkSettings &settings,
                                    const TransferPlan &plan)
{
    auto failure = std::make_shared<std::optional<JournalProblem>>();
    auto *dialog = new dload(m_jobs.runner(), settings, plan, m_window,
                             [journal = m_jobs.journal(), record, failure](const ExchangeReport &report) mutable {
                                 setEnding(record->entry(), report);
                                 journal.finish(*record);
                                 *failure = journal.takeFailure();
                             });
    m_jobs.setStop([dialog = QPointer<dload>(dialog)] {
        if (dialog)
            dialog->reject();
    });
    QObject::connect(dialog, &QDialog::finished, dialog, [this, dialog, failure, form] {
        const ExchangeReport report = dialog->report();
        dialog->deleteLater();
        m_jobs.tellJournalFailure(*failure);
        if (report.ending == Ending::Done)
            emit formSent(form);  // the module and the journal hold it now
        if (!m_jobs.isStopping())
            reportAbandonedDownload(report);
        m_jobs.end();
    });
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

// The field a download refused is marked and given the cursor, under one box
// that says why; when fields are empty, every one of them is named and
// marked at once, so that one round fills them all. The box takes the focus
// from the field: that must not run the field's own check, which would empty
// it under a second box.
void WindowTransfers::reportRefusal(const QList<RecordResult> &refusals, char separator)
{
    const RecordResult &refusal = refusals.first();
    emit fieldChecksHeld(true);
    const auto release = qScopeGuard([this] { emit fieldChecksHeld(false); });
    QString text = WindowText::downloadRefusal(refusal, separator);
    QList<int> marked = {refusal.field};
    if (refusal.error == RecordError::MissingField) {
        qDebug().noquote() << lineEditCatalogue()[refusal.field].name;  // the diagnostic line the window has always written
        marked.clear();
        for (const RecordResult &each : refusals)
            if (each.error == RecordError::MissingField && each.field >= 0)
                marked << each.field;
        text += QLatin1Char('\n') + WindowText::missingFields(marked);
    }
    if (refusal.field >= 0) {
        for (const int field : marked)
            FieldMarks::mark(m_form, lineEditCatalogue()[field].name, text);
        QLineEdit *field = formLineEdits(m_form)[refusal.field];
        if (field->focusPolicy() != Qt::NoFocus && field->isEnabled())
            field->setFocus(Qt::OtherFocusReason);
    }
    Message::critical(m_window, tr("Betöltés hiba."), text);
}

// Escape ends a running download at once; the module then holds part of the
// new content, or none of it.
void WindowTransfers::reportAbandonedDownload(const ExchangeReport &report)
{
    if (report.ending != Ending::Cancelled && report.ending != Ending::Interrupted)
        return;
    Message::warning(m_window, tr("Betöltés"), WindowText::abandonedDownload(report.bytesSent > 0));
}

void WindowTransfers::readup()
{
    if (m_jobs.isBusy() || !m_files.mayReplaceForm())
        return;
    auto upload = std::make_shared<Upload>(m_settings(), readForm(m_form));
    m_jobs.begin([upload] { upload->interrupt.trigger(); });
    beginEntry(startEntry(JournalName::Readup, upload->settings.Port), [this, upload](const Record &record) {
        upload->record = record;
        startReadup(upload);
    });
}

void WindowTransfers::startReadup(const std::shared_ptr<Upload> &upload)
{
    m_progress = readupProgress(m_window, upload->interrupt);
    const auto started = [this] { if (m_progress) m_progress->show(); };
    const auto received = [this](int bytes) { if (m_progress) m_progress->advance(bytes); };
    m_jobs.run([journal = m_jobs.journal(), relay = m_jobs.relay(), upload, started, received]() mutable {
        RelayedWatcher watcher(relay, started, received, upload->interrupt);
        upload->readup = readupExchange(upload->settings, upload->form, watcher, upload->interrupt, upload->record->entry());
        journal.finish(*upload->record);
        upload->failure = journal.takeFailure();
    }, [this, upload] {
        m_progress.reset();
        if (!m_jobs.isStopping() && showReadup(m_window, m_form, m_operators, upload->readup)) {
            // The form now holds what the module holds, and comes from no file.
            emit formReadUp(upload->settings.Port, upload->record->entry().id);
        }
        m_jobs.tellJournalFailure(upload->failure);
        m_jobs.end();
    });
}

void WindowTransfers::verify()
{
    if (m_jobs.isBusy())
        return;
    FieldMarks::clear(m_form);
    auto upload = std::make_shared<Upload>(m_settings(), readForm(m_form));
    JournalEntry start = startEntry(JournalName::Verify, upload->settings.Port);
    setContent(start, upload->form);
    start.file = m_files.origin().recordedSource();
    m_jobs.begin([upload] { upload->interrupt.trigger(); });
    beginEntry(start, [this, upload](const Record &record) {
        upload->record = record;
        startVerify(upload);
    });
}

// The port stays ours, and the bar up, until the technician has read the
// outcome; the entry is complete before it is shown.
void WindowTransfers::startVerify(const std::shared_ptr<Upload> &upload)
{
    m_progress = verifyProgress(m_window, upload->interrupt);
    const auto started = [this] { if (m_progress) m_progress->show(); };
    const auto received = [this](int bytes) { if (m_progress) m_progress->advance(bytes); };
    m_jobs.run([journal = m_jobs.journal(), relay = m_jobs.relay(), upload, started, received]() mutable {
        RelayedWatcher watcher(relay, started, received, upload->interrupt);
        upload->verify = verifyExchange(upload->link, upload->settings, upload->form, watcher, upload->interrupt,
                                        upload->record->entry());
        journal.finish(*upload->record);
        upload->failure = journal.takeFailure();
    }, [this, upload] {
        emit recordBuilt(upload->settings.RecordText);
        if (m_progress)
            m_progress->finish();
        if (!m_jobs.isStopping())
            showVerify(m_window, upload->settings.Port, m_form, upload->verify);
        m_jobs.tellJournalFailure(upload->failure);
        endVerify(upload);
    });
}

void WindowTransfers::endVerify(const std::shared_ptr<Upload> &upload)
{
    m_jobs.run([upload] { upload->link.close(); }, [this] {
        m_progress.reset();
        m_jobs.end();
    });
}
