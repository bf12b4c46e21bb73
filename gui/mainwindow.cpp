#include "mainwindow.h"

#include "core/content/datafiles.h"
#include "gui/dialogs/filedialog.h"
#include "gui/dialogs/messagebox.h"
#include "resourceicon.h"
#include "core/content/contentfile.h"
#include "core/form/fieldcheck.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/form/formfieldstyle.h"
#include "gui/texts/windowtexts.h"
#include "gui/form/mainwindowui.h"
#include "gui/help/about.h"
#include "gui/help/help.h"
#include "core/journal/journal.h"
#include "core/journal/journalrecord.h"
#include "gui/journal/journalview.h"
#include "gui/settings/chardialog.h"
#include "gui/settings/setcom.h"
#include "gui/station/stationwindow.h"
#include "simulator/modulesimulator.h"
#include "core/plan/transferplan.h"
#include "gui/form/verifykey.h"
#include "gui/transfer/dload.h"
#include "gui/transfer/inputhold.h"
#include "gui/transfer/windowjournal.h"
#include "core/operations/transferrunner.h"
#include "gui/transfer/uploadcommands.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QBuffer>
#include <QApplication>
#include <QDebug>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStatusBar>

namespace {
constexpr int CutNoticeMs = 15000;  // long enough to read, then the file name shows again
const QString DefaultContentFile = QStringLiteral("default16.ui");
const QString MakersNotice = QStringLiteral("© 2009-2026 Példa Elektronika Kft. (www.example.com)");
} // namespace

MainWindow::MainWindow(QWidget *parent, const LinkSettings &settings)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_settings(settings)
    , m_runner(std::make_unique<TransferRunner>())
    , m_journal(std::make_unique<WindowJournal>(*m_runner, journalLocation({}, false)))
{
    ui->setupUi(this);
    FormFieldStyle::applyTo(ui->centralWidget);

    switch (checksumMode(m_settings.CheckSize)) {
    case ChecksumMode::Sum8: ui->action8bit_sum->setChecked(true); break;
    case ChecksumMode::Sum16: ui->action16bit_sum->setChecked(true); break;
    case ChecksumMode::Sum24: ui->action24bit_sum->setChecked(true); break;
    case ChecksumMode::Sum32: ui->action32bit_sum->setChecked(true); break;
    case ChecksumMode::Fixed: ui->actionFix->setChecked(true); break;
    }

    const struct { QAction *action; const char *image; } icons[] = {
        {ui->actionNew, "page_icon.png"},   {ui->actionOpen, "open.png"},
        {ui->actionSave, "save.png"},       {ui->actionSaveAs, "save.png"},
        {ui->actionExit, "exit_icon.png"},  {ui->actionAbout, "info_icon.png"},
        {ui->actionReadup, "up.png"},       {ui->actionDownload, "down.png"},
    };
    for (const auto &entry : icons)
        entry.action->setIcon(resourceIcon(QStringLiteral(":/img/img/") + QLatin1String(entry.image)));

    auto *checksumModes = new QActionGroup(this);
    checksumModes->setExclusive(true);
    for (QAction *mode : {ui->action8bit_sum, ui->action16bit_sum, ui->action24bit_sum,
                          ui->action32bit_sum, ui->actionFix})
        checksumModes->addAction(mode);

    if (ui->menuCHKS->isEnabled())
        ui->menuCHKS->setEnabled(m_settings.CheckValue != 0);

    connectActions();
    new VerifyKey(ui->centralWidget, this);
    createStatusLabels();
    setOrigin(FormOrigin::Source::None, {});
}

MainWindow::~MainWindow()
{
    // A window that goes with the cursor in a field loses its focus only in
    // ~QWidget, after this: the field's check must not run on what is left.
    for (QLineEdit *edit : formLineEdits(ui->centralWidget))
        edit->disconnect(this);
}

// The port in the status bar; the simulated module by its name in the
// window's language.
void MainWindow::showPort()
{
    portLabel->setText(WindowText::portLabelText(m_settings, m_portChosen));
}

// A desktop that turns dark (or light) gets form colours that stay readable on it.
void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    const bool paletteChanged = event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange;
    if (paletteChanged && !m_applyingColours) {
        // Setting the form's colours changes the palette once more.
        const QScopedValueRollback guard(m_applyingColours, true);
        ui->applyColours(this);
    }
}

void MainWindow::setJournalLocation(const JournalLocation &location)
{
    m_journal->setLocation(location);
}

void MainWindow::connectActions()
{
    const struct { QAction *action; void (MainWindow::*slot)(); } bindings[] = {
        {ui->actionNew, &MainWindow::newfile},
        {ui->actionOpen, &MainWindow::openfile},
        {ui->actionSave, &MainWindow::save},
        {ui->actionSaveAs, &MainWindow::saveas},
        {ui->actionPort, &MainWindow::show_port},
        {ui->actionCheck, &MainWindow::setCheck},
        {ui->actionACK, &MainWindow::setAckChar},
        {ui->actionSeparators, &MainWindow::setSeparators},
        {ui->actionUC, &MainWindow::setUploadCommand},
        {ui->actionDownload, &MainWindow::download},
        {ui->actionReadup, &MainWindow::readup},
        {ui->actionVerify, &MainWindow::verify_func},
        {ui->actionJournal, &MainWindow::showJournal},
        {ui->actionStation, &MainWindow::showStation},
        {ui->actionAbout, &MainWindow::nevjegy},
        {ui->actionContents, &MainWindow::contents},
        {ui->action8bit_sum, &MainWindow::setChks8},
        {ui->action16bit_sum, &MainWindow::setChks16},
        {ui->action24bit_sum, &MainWindow::setChks24},
        {ui->action32bit_sum, &MainWindow::setChks32},
        {ui->actionFix, &MainWindow::setFixChar},
    };
    connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
    for (const auto &entry : bindings)
        connect(entry.action, &QAction::triggered, this, entry.slot);

    for (QLineEdit *edit : formLineEdits(ui->centralWidget)) {
        connect(edit, &QLineEdit::editingFinished, this, &MainWindow::input_check);
        connect(edit, &QLineEdit::textChanged, this, &MainWindow::showOrigin);
    }
    for (QCheckBox *box : formCheckBoxes(ui->centralWidget))
        connect(box, &QCheckBox::toggled, this, &MainWindow::showOrigin);
    connect(ui->smskp_combo, &QComboBox::currentIndexChanged, this, &MainWindow::smskpSelect);
}

void MainWindow::createStatusLabels()
{
    fileLabel = new QLabel(tr("No file"), this);
    fileLabel->setObjectName("fileLabel");
    statusBar()->insertWidget(0, fileLabel, 1);
    portLabel = new QLabel(this);
    portLabel->setObjectName("portLabel");
    showPort();
    statusBar()->insertWidget(1, portLabel, 1);
    noticeLabel = new QLabel(MakersNotice, this);
    noticeLabel->setObjectName("noticeLabel");
    statusBar()->insertWidget(2, noticeLabel, 0);
}

// --- Content files ---------------------------------------------------------

void MainWindow::newfile()
{
    if (!mayReplaceForm())
        return;
    m_settings.FileName = DefaultContentFile;
    m_settings.FilePath = DefaultContentFile;
    loadFile(dataFilePath(DefaultContentFile));
}

void MainWindow::openfile()
{
    if (!mayReplaceForm())
        return;
    m_settings.FilePath = FileDialog::openFileName(this, tr("Open File"), fileDialogStart(false), contentFileFilter());
    if (m_settings.FilePath.isEmpty())
        return;
    loadFile(m_settings.FilePath);
}

void MainWindow::openPath(const QString &path)
{
    if (!mayReplaceForm())
        return;
    m_settings.FilePath = QFileInfo(path).absoluteFilePath();
    loadFile(m_settings.FilePath);
}

void MainWindow::loadFile(const QString &path)
{
    const ContentFile::LoadResult result = ContentFile::load(path, readForm(ui->centralWidget));
    switch (result.status) {
    case ContentFile::LoadStatus::Missing:
        Message::warning(this, tr("Error"), tr("Cannot open the selected file."));
        return;
    case ContentFile::LoadStatus::Malformed:
    case ContentFile::LoadStatus::NotAFile:
    case ContentFile::LoadStatus::Unreadable:
        Message::critical(this, tr("File error."),
                          tr("Cannot open the file. \nTip: Check the file."));
        return;
    case ContentFile::LoadStatus::Loaded:
        break;
    }
    FieldMarks::clear(ui->centralWidget);  // marks speak of the content that was there
    writeForm(ui->centralWidget, result.values);
    m_lastFile = path;
    m_settings.FileName = ContentFile::displayName(m_settings.FilePath);
    m_settings.RecordText.clear();
    setOrigin(FormOrigin::Source::File, m_settings.FilePath);
    if (!result.cut.isEmpty())
        statusBar()->showMessage(WindowText::cutFields(result.cut), CutNoticeMs);
    Message::information(this, tr("File opened."),
                         tr("%1 successfully loaded.").arg(m_settings.FileName));
}

void MainWindow::save()
{
    saveForm();
}

// False when nothing was saved: refused, cancelled or not written.
bool MainWindow::saveForm()
{
    // A form that would not load back is refused before a name is asked for.
    const FormValues form = readForm(ui->centralWidget);
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(form)) {
        const QScopedValueRollback guard(m_checkingFields, true);  // the box's focus must not empty the field
        if (problem->field >= 0 && formLineEdits(ui->centralWidget)[problem->field]->focusPolicy() != Qt::NoFocus)
            formLineEdits(ui->centralWidget)[problem->field]->setFocus(Qt::OtherFocusReason);
        Message::warning(this, tr("Error"), WindowText::unsavable(*problem));
        return false;
    }
    // The dialog adds the extension itself, so that its own question about
    // replacing a file sees the name that will be written.
    const QString path = FileDialog::saveFileName(this, tr("Save File"), fileDialogStart(true), contentFileFilter(),
                                                  QStringLiteral("t16"));
    if (path.isEmpty())
        return false;
    if (ContentFile::save(path, form) != ContentFile::SaveStatus::Saved) {
        Message::warning(this, tr("Error"), tr("Cannot save the selected file."));
        return false;
    }
    m_settings.FilePath = path;
    m_settings.FileName = ContentFile::displayName(path);
    m_lastFile = path;
    setOrigin(FormOrigin::Source::File, path);
    Message::information(this, tr("Save"), tr("Save was successful."));
    return true;
}

QString MainWindow::contentFileFilter() const
{
    return tr("T16 Files (*.t16)") + QStringLiteral(";;") + tr("All files (*)");
}

// Where the file dialogs start: the file last opened or saved (its name too,
// for Save, while the form still comes from it), or the current folder.
QString MainWindow::fileDialogStart(bool withName) const
{
    if (m_lastFile.isEmpty())
        return QStringLiteral(".");
    return withName && m_origin.source() == FormOrigin::Source::File ? m_lastFile : QFileInfo(m_lastFile).path();
}

void MainWindow::saveas()
{
}

// --- Settings ---------------------------------------------------------------

void MainWindow::startOnPort(const QString &port)
{
    if (port.isEmpty() || port == SimulatedModulePort)
        return;
    m_settings.Port = port;
    m_portChosen = true;
    showPort();
}

QString MainWindow::chosenPort() const
{
    return m_portChosen && m_settings.Port != SimulatedModulePort ? m_settings.Port : QString();
}

void MainWindow::show_port()
{
    setcom dialog(m_settings.Port, m_settings.Baudrate, this, m_deviceLookup);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.Port = dialog.port();
    m_settings.Baudrate = dialog.baudrate();
    if (m_settings.Port == SimulatedModulePort)
        startSimulatedModule();
    m_portChosen = true;
    showPort();
}

// The simulated module lives on a pseudo-terminal of its own for as long as
// the window does; the port name stands for it while it runs.
bool MainWindow::startSimulatedModule()
{
    if (m_simulatedModule)
        return true;
    SimulatorOptions options;
    options.portName = SimulatedModulePort;
    auto module = std::make_unique<ModuleSimulator>(options);
    if (!module->start()) {
        Message::critical(this, tr("Hiba"),
                          tr("A szimulált modul nem indítható.\n%1").arg(module->errorString()));
        return false;
    }
    m_simulatedModule = std::move(module);
    return true;
}

void MainWindow::setCheck()
{
    m_settings.CheckValue = m_settings.CheckValue != 0 ? 0 : 1;
    ui->menuCHKS->setEnabled(m_settings.CheckValue != 0);
}

void MainWindow::setFixChar()
{
    setFix dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        m_settings.CheckSize = settingByte(dialog.text());
}

void MainWindow::setAckChar()
{
    setAck dialog(this, m_settings.AckChar);
    if (dialog.exec() == QDialog::Accepted)
        m_settings.AckChar = settingByte(dialog.text());
}

void MainWindow::setSeparators()
{
    separators dialog(this, m_settings.DownloadSeparator, m_settings.UploadSeparator);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.DownloadSeparator = settingByte(dialog.downloadSeparator());
    m_settings.UploadSeparator = settingByte(dialog.uploadSeparator());
}

void MainWindow::setUploadCommand()
{
    setUC dialog(this, m_settings.UploadCommand);
    if (dialog.exec() == QDialog::Accepted)
        m_settings.UploadCommand = settingByte(dialog.text());
}

void MainWindow::setChks8() { m_settings.CheckSize = checkSizeOf(ChecksumMode::Sum8); }
void MainWindow::setChks16() { m_settings.CheckSize = checkSizeOf(ChecksumMode::Sum16); }
void MainWindow::setChks24() { m_settings.CheckSize = checkSizeOf(ChecksumMode::Sum24); }
void MainWindow::setChks32() { m_settings.CheckSize = checkSizeOf(ChecksumMode::Sum32); }

void MainWindow::show_info()
{
    Message::information(this, tr("Information"), WindowText::settingsSummary(m_settings));
}

// --- Transfers --------------------------------------------------------------

void MainWindow::download()
{
    if (!checkEditedField())
        return;
    FieldMarks::clear(ui->centralWidget);
    const FormValues form = readForm(ui->centralWidget);
    const PlannedTransfer planned = planTransfer(form, m_settings, RecordPurpose::Download);
    m_settings.RecordText = planned.plan ? planned.plan->record() : QString();
    if (!planned.plan) {
        reportRefusal(planned.refusals.first());
        return;
    }
    JournalEntry start = startEntry(JournalName::Download, m_settings.Port);
    setContent(start, form);
    start.recordSha256 = planned.plan->recordSha256();
    start.file = m_origin.recordedSource();
    if (!startTransfer())
        return;
    JournalRecord entry = beginRecord(start);
    dload dialog(*m_runner, m_settings, *planned.plan, this);
    dialog.exec();
    setEnding(entry.entry(), dialog.report());
    if (dialog.endedMs() > 0)
        entry.entry().endedMs = dialog.endedMs();
    finishRecord(entry);
    endTransfer();
    if (dialog.report().ending == Ending::Done)
        m_origin.sent(form);  // the module and the journal hold it now
    reportAbandonedDownload(dialog.report());
}

// The field a download refused is marked and given the cursor, under one box
// that says why. The box takes the focus from the field: that must not run
// the field's own check, which would empty it under a second box.
void MainWindow::reportRefusal(const RecordResult &refusal)
{
    const QScopedValueRollback guard(m_checkingFields, true);
    QString text = WindowText::downloadRefusal(refusal, m_settings.DownloadSeparator);
    if (refusal.field >= 0) {
        if (refusal.error == RecordError::MissingField) {
            qDebug().noquote() << lineEditCatalogue()[refusal.field].name;  // the diagnostic line the window has always written
            text += QLatin1Char('\n') + WindowText::missingField(refusal.field);
        }
        FieldMarks::mark(ui->centralWidget, lineEditCatalogue()[refusal.field].name, text);
        QLineEdit *field = formLineEdits(ui->centralWidget)[refusal.field];
        if (field->focusPolicy() != Qt::NoFocus && field->isEnabled())
            field->setFocus(Qt::OtherFocusReason);
    }
    Message::critical(this, tr("Betöltés hiba."), text);
}

// Escape ends a running download at once; the module then holds part of the
// new content, or none of it.
void MainWindow::reportAbandonedDownload(const ExchangeReport &report)
{
    if (report.ending != Ending::Cancelled && report.ending != Ending::Interrupted)
        return;
    const QString state = report.bytesSent > 0 ? tr("A modul tartalma most ismeretlen: futtassa újra a letöltést.")
                                               : tr("A modulba nem került adat.");
    Message::warning(this, tr("Betöltés"), tr("Betöltés megszakítva.") + QLatin1Char('\n') + state);
}

void MainWindow::readup()
{
    if (!mayReplaceForm())
        return;
    if (!startTransfer())
        return;
    FieldMarks::clear(ui->centralWidget);
    JournalRecord entry = beginRecord(startEntry(JournalName::Readup, m_settings.Port));
    readupFromModule(this, *m_runner, m_settings, ui->centralWidget, ui->smskp_combo, entry.entry());
    finishRecord(entry);
    endTransfer();
    if (entry.entry().result != JournalName::Ok)
        return;
    // The form now holds what the module holds, and comes from no file.
    m_settings.FilePath.clear();
    m_settings.FileName.clear();
    m_settings.RecordText.clear();
    setOrigin(FormOrigin::Source::Module, m_settings.Port, entry.entry().id);
}

void MainWindow::verify_func()
{
    if (!checkEditedField())
        return;
    FieldMarks::clear(ui->centralWidget);
    JournalEntry start = startEntry(JournalName::Verify, m_settings.Port);
    setContent(start, readForm(ui->centralWidget));
    start.file = m_origin.recordedSource();
    if (!startTransfer())
        return;
    JournalRecord entry = beginRecord(start);
    verifyAgainstModule(this, *m_runner, m_settings, ui->centralWidget, entry.entry());
    finishRecord(entry);
    endTransfer();
}

// --- Journal ----------------------------------------------------------------

// One transfer at a time: while one runs, the window takes no input.
bool MainWindow::startTransfer()
{
    if (m_inputHold)
        return false;
    m_inputHold = std::make_unique<InputHold>(this);
    return true;
}

void MainWindow::endTransfer()
{
    m_inputHold.reset();
}

// A journal that fails is named once; transfers then go on unrecorded.
void MainWindow::tellJournalFailure()
{
    if (const std::optional<JournalProblem> problem = m_journal->takeFailure())
        Message::warning(this, tr("Napló"), WindowText::journalUnavailable(m_journal->location().shownName(), *problem));
}

JournalRecord MainWindow::beginRecord(const JournalEntry &entry)
{
    JournalRecord record = m_journal->begin(entry);
    tellJournalFailure();
    return record;
}

void MainWindow::finishRecord(JournalRecord &record)
{
    m_journal->finish(record);
    tellJournalFailure();
}

void MainWindow::showJournal()
{
    const bool available = m_journal->available();
    tellJournalFailure();
    if (!available)
        return;
    journalView view(m_journal->location(), this);
    if (view.exec() != QDialog::Accepted || !view.chosen() || !mayReplaceForm())
        return;
    QByteArray content = view.chosen()->content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    const ContentFile::LoadResult loaded = ContentFile::parse(buffer, readForm(ui->centralWidget));
    if (loaded.status != ContentFile::LoadStatus::Loaded) {
        Message::critical(this, tr("File error."), tr("Cannot open the file. \nTip: Check the file."));
        return;
    }
    FieldMarks::clear(ui->centralWidget);
    writeForm(ui->centralWidget, loaded.values);
    ui->smskp_combo->setCurrentIndex(operatorIndexForNumber(loaded.values.texts.first()));
    m_settings.RecordText.clear();
    setOrigin(FormOrigin::Source::Journal, QString::number(view.chosen()->id));
}

// The station starts from the form as it is now: its template.
void MainWindow::showStation()
{
    showTool(m_station, [this] {
        return new StationWindow(readForm(ui->centralWidget), m_settings, m_journal->location(), m_deviceLookup, this);
    });
}

// --- The form's origin ------------------------------------------------------

// The form as it is now is what `source` holds.
void MainWindow::setOrigin(FormOrigin::Source source, const QString &name, qint64 entry)
{
    m_origin.loaded(readForm(ui->centralWidget), source, name, entry);
    showOrigin();
}

// The source in the status bar and the title bar, with the title's mark
// while the form differs from it.
void MainWindow::showOrigin()
{
    QString shown;
    if (m_origin.source() == FormOrigin::Source::File)
        shown = ContentFile::displayName(m_origin.name());
    else if (m_origin.source() == FormOrigin::Source::Journal)
        shown = tr("Napló #%1").arg(m_origin.name());
    fileLabel->setText(shown.isEmpty() ? tr("No file") : shown);
    const QString program = tr("Tavir-340 letöltő szoftver");
    setWindowTitle(shown.isEmpty() ? program + QStringLiteral("[*]") : shown + QStringLiteral("[*] – ") + program);
    setWindowModified(m_origin.isModified(readForm(ui->centralWidget)));
}

// Whether the form may give way to other content: at once when nothing in
// it would be lost, else when the technician has saved it or says so.
bool MainWindow::mayReplaceForm()
{
    if (!m_origin.wouldLose(readForm(ui->centralWidget)))
        return true;
    QString text = tr("Az űrlap változásai nincsenek sem fájlba mentve, sem modulba letöltve.");
    if (m_journal->location().kind != JournalLocation::Kind::Off)
        text += QLatin1Char('\n') + tr("Amit letöltött, azt a napló megőrzi; ezeket a változásokat nem.");
    QMessageBox box(QMessageBox::Question, tr("Mentetlen változások"), text + QLatin1Char('\n') + tr("Menti őket?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return saveForm();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (mayReplaceForm())
        event->accept();
    else
        event->ignore();
}

// --- Help -------------------------------------------------------------------

// Both stay, hidden once closed, until the window goes; asked for again, the
// one there is comes back to the front.
void MainWindow::nevjegy()
{
    showTool(m_about, [this] { return new about(this); });
}

void MainWindow::contents()
{
    showTool(m_help, [this] { return new help(this); });
}

void MainWindow::showTool(QPointer<QWidget> &tool, const std::function<QWidget *()> &make)
{
    if (!tool)
        tool = make();
    tool->show();
    tool->raise();
    tool->activateWindow();
}

// --- Form checks ------------------------------------------------------------

void MainWindow::input_check()
{
    checkFields();
}

// False when a field broke its rule: it is then emptied and focused, and the
// "Input error" box has said why.
bool MainWindow::checkFields()
{
    // The box below takes the focus, which finishes another edit; that must
    // not start a second check while the first one is still reporting.
    if (m_checkingFields)
        return false;
    const QScopedValueRollback guard(m_checkingFields, true);
    const QList<QLineEdit *> edits = formLineEdits(ui->centralWidget);
    QStringList texts;
    for (const QLineEdit *edit : edits)
        texts.append(edit->text());
    const std::optional<FieldProblem> problem = findFieldProblem(texts);
    if (!problem)
        return true;
    QLineEdit *field = edits[problem->index];
    field->clear();
    field->setFocus(Qt::OtherFocusReason);
    Message::warning(this, tr("Input error"), WindowText::inputError(problem->rule));
    return false;
}

// A transfer started from the keyboard leaves the field being edited
// unchecked; it gets the check that leaving it would have given.
bool MainWindow::checkEditedField()
{
    // A field that only holds the cursor (one a refusal pointed at) keeps
    // its value: only what was typed is checked.
    const auto *edited = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!edited || !edited->isModified() || !formLineEdits(ui->centralWidget).contains(edited))
        return true;
    return checkFields();
}

// The entry is told by its place, not its text, which the window's language
// may have changed.
void MainWindow::smskpSelect()
{
    const int choice = ui->smskp_combo->currentIndex();
    const QList<SmsOperator> &operators = smsOperators();
    if (choice == operators.size() - 1) {
        ui->smskp->setEnabled(true);
        ui->smskp->setFocus(Qt::OtherFocusReason);
    } else {
        ui->smskp->setEnabled(false);
    }
    if (choice >= 0 && choice < operators.size() && !operators[choice].number.isEmpty())
        ui->smskp->setText(operators[choice].number);
}
