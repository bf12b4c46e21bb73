#include "windowtransfers.h"

#include "core/content/contentfile.h"
#include "core/journal/journalrecord.h"
#include "core/operations/transferrunner.h"
#include "core/plan/transferplan.h"
#include "gui/dialogs/messagebox.h"
#include "gui/files/windowfiles.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "gui/journal/journalview.h"
#include "gui/texts/windowtexts.h"
#include "dload.h"
#include "inputhold.h"
#include "uploadcommands.h"
#include "windowjournal.h"

#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QMainWindow>
#include <QScopedValueRollback>

WindowTransfers::WindowTransfers(QMainWindow *window, Ui::MainWindow &ui, LinkSettings &settings, WindowFiles &files,
                                 bool &checkingFields)
    : m_window(window)
    , ui(ui)
    , m_settings(settings)
    , m_files(files)
    , m_checkingFields(checkingFields)
    , m_runner(std::make_unique<TransferRunner>())
    , m_journal(std::make_unique<WindowJournal>(*m_runner, ::journalLocation({}, false)))
{
}

WindowTransfers::~WindowTransfers() = default;

void WindowTransfers::setJournalLocation(const JournalLocation &location)
{
    m_journal->setLocation(location);
}

const JournalLocation &WindowTransfers::journalLocation() const
{
    return m_journal->location();
}

void WindowTransfers::download()
{
    FieldMarks::clear(ui.centralWidget);
    const FormValues form = readForm(ui.centralWidget);
    const PlannedTransfer planned = planTransfer(form, m_settings, RecordPurpose::Download);
    m_settings.RecordText = planned.plan ? planned.plan->record() : QString();
    if (!planned.plan) {
        reportRefusal(planned.refusals);
        return;
    }
    JournalEntry start = startEntry(JournalName::Download, m_settings.Port);
    setContent(start, form);
    start.recordSha256 = planned.plan->recordSha256();
    start.file = m_files.origin().recordedSource();
    if (!startTransfer())
        return;
    JournalRecord entry = beginRecord(start);
    dload dialog(*m_runner, m_settings, *planned.plan, m_window);
    dialog.exec();
    setEnding(entry.entry(), dialog.report());
    if (dialog.endedMs() > 0)
        entry.entry().endedMs = dialog.endedMs();
    finishRecord(entry);
    endTransfer();
    if (dialog.report().ending == Ending::Done)
        m_files.origin().sent(form);  // the module and the journal hold it now
    reportAbandonedDownload(dialog.report());
}

// The field a download refused is marked and given the cursor, under one box
// that says why; when fields are empty, every one of them is named and
// marked at once, so that one round fills them all. The box takes the focus
// from the field: that must not run the field's own check, which would empty
// it under a second box.
void WindowTransfers::reportRefusal(const QList<RecordResult> &refusals)
{
    const RecordResult &refusal = refusals.first();
    const QScopedValueRollback guard(m_checkingFields, true);
    QString text = WindowText::downloadRefusal(refusal, m_settings.DownloadSeparator);
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
            FieldMarks::mark(ui.centralWidget, lineEditCatalogue()[field].name, text);
        QLineEdit *field = formLineEdits(ui.centralWidget)[refusal.field];
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
    const QString state = report.bytesSent > 0 ? tr("A modul tartalma most ismeretlen: futtassa újra a letöltést.")
                                               : tr("A modulba nem került adat.");
    Message::warning(m_window, tr("Betöltés"), tr("Betöltés megszakítva.") + QLatin1Char('\n') + state);
}

void WindowTransfers::readup()
{
    if (!m_files.mayReplaceForm())
        return;
    if (!startTransfer())
        return;
    FieldMarks::clear(ui.centralWidget);
    JournalRecord entry = beginRecord(startEntry(JournalName::Readup, m_settings.Port));
    readupFromModule(m_window, *m_runner, m_settings, ui.centralWidget, ui.smskp_combo, entry.entry());
    finishRecord(entry);
    endTransfer();
    if (entry.entry().result != JournalName::Ok)
        return;
    // The form now holds what the module holds, and comes from no file.
    m_settings.FilePath.clear();
    m_settings.FileName.clear();
    m_settings.RecordText.clear();
    m_files.setOrigin(FormOrigin::Source::Module, m_settings.Port, entry.entry().id);
}

void WindowTransfers::verify()
{
    FieldMarks::clear(ui.centralWidget);
    JournalEntry start = startEntry(JournalName::Verify, m_settings.Port);
    setContent(start, readForm(ui.centralWidget));
    start.file = m_files.origin().recordedSource();
    if (!startTransfer())
        return;
    JournalRecord entry = beginRecord(start);
    verifyAgainstModule(m_window, *m_runner, m_settings, ui.centralWidget, entry.entry());
    finishRecord(entry);
    endTransfer();
}

// One transfer at a time: while one runs, the window takes no input.
bool WindowTransfers::startTransfer()
{
    if (m_inputHold)
        return false;
    m_inputHold = std::make_unique<InputHold>(m_window);
    return true;
}

void WindowTransfers::endTransfer()
{
    m_inputHold.reset();
}

// A journal that fails is named once; transfers then go on unrecorded.
// Whether it was named now.
bool WindowTransfers::tellJournalFailure()
{
    const std::optional<JournalProblem> problem = m_journal->takeFailure();
    if (problem)
        Message::warning(m_window, tr("Napló"), WindowText::journalUnavailable(m_journal->location().shownName(), *problem));
    return problem.has_value();
}

JournalRecord WindowTransfers::beginRecord(const JournalEntry &entry)
{
    JournalRecord record = m_journal->begin(entry);
    tellJournalFailure();
    return record;
}

void WindowTransfers::finishRecord(JournalRecord &record)
{
    m_journal->finish(record);
    tellJournalFailure();
}

void WindowTransfers::showChanges()
{
    const FormValues now = readForm(ui.centralWidget);
    const QString moduleId = now.texts[lineEditIndex(QStringLiteral("m_id"))];
    const WindowJournal::LastDownload found = moduleId.isEmpty() ? WindowJournal::LastDownload{true, {}} : m_journal->lastDownload(moduleId);
    // A journal that cannot be read is named once; after that, each look says
    // that nothing is known, never that nothing was downloaded.
    if (!tellJournalFailure() && !found.read)
        Message::warning(m_window, tr("Változások"), tr("A napló nem olvasható, így nem tudni, mi változott."));
    if (!found.read)
        return;
    const std::optional<JournalEntry> &last = found.entry;
    if (!last) {
        Message::information(m_window, tr("Változások"), tr("A napló nem tud letöltést a(z) „%1” azonosítójú modulba.").arg(moduleId));
        return;
    }
    const ContentFile::LoadResult then = ContentFile::parse(last->content, now);
    if (then.status != ContentFile::LoadStatus::Loaded) {
        Message::critical(m_window, tr("File error."), tr("Cannot open the file. \nTip: Check the file."));
        return;
    }
    const QList<FieldDifference> changes = compareAsStored(then.values, now);
    const QString since = tr("a #%1 betöltés óta (%2)").arg(last->id).arg(WindowText::localTime(last->startedMs));
    FieldMarks::clear(ui.centralWidget);
    if (changes.isEmpty()) {
        Message::information(m_window, tr("Változások"), tr("Nincs változás %1.").arg(since));
        return;
    }
    for (const FieldDifference &change : changes)
        FieldMarks::mark(ui.centralWidget, change.name, WindowText::downloadedThen(change));
    Message::information(m_window, tr("Változások"),
                         tr("%1 mező változott %2.").arg(changes.size()).arg(since) + QStringLiteral("\n\n") + WindowText::changes(changes));
}

void WindowTransfers::showJournal()
{
    const bool available = m_journal->available();
    tellJournalFailure();
    if (!available)
        return;
    journalView view(m_journal->location(), m_window);
    if (view.exec() != QDialog::Accepted || !view.chosen() || !m_files.mayReplaceForm())
        return;
    const ContentFile::LoadResult loaded = ContentFile::parse(view.chosen()->content, readForm(ui.centralWidget));
    if (loaded.status != ContentFile::LoadStatus::Loaded) {
        Message::critical(m_window, tr("File error."), tr("Cannot open the file. \nTip: Check the file."));
        return;
    }
    FieldMarks::clear(ui.centralWidget);
    writeForm(ui.centralWidget, loaded.values);
    ui.smskp_combo->setCurrentIndex(operatorIndexForNumber(loaded.values.texts.first()));
    m_settings.RecordText.clear();
    m_files.setOrigin(FormOrigin::Source::Journal, QString::number(view.chosen()->id));
}
