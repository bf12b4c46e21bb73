#include "mainwindow.h"

#include "core/content/datafiles.h"
#include "gui/form/filedialog.h"
#include "gui/form/messagebox.h"
#include "resourceicon.h"
#include "core/content/contentfile.h"
#include "core/form/fieldcheck.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/form/windowtexts.h"
#include "gui/form/mainwindowui.h"
#include "gui/help/about.h"
#include "gui/help/help.h"
#include "core/journal/journal.h"
#include "core/journal/journalrecord.h"
#include "gui/journal/journalview.h"
#include "gui/settings/chardialog.h"
#include "gui/settings/setcom.h"
#include "simulator/modulesimulator.h"
#include "core/plan/transferplan.h"
#include "gui/transfer/dload.h"
#include "gui/transfer/uploadcommands.h"

#include <QActionGroup>
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
    , m_journalLocation(journalLocation({}, false))
{
    ui->setupUi(this);

    switch (m_settings.CheckSize) {
    case 0: ui->action8bit_sum->setChecked(true); break;
    case 1: ui->action16bit_sum->setChecked(true); break;
    case 2: ui->action24bit_sum->setChecked(true); break;
    case 3: ui->action32bit_sum->setChecked(true); break;
    default: ui->actionFix->setChecked(true); break;
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
    createStatusLabels();
    markSaved();
}

MainWindow::~MainWindow() = default;

// The port in the status bar; the simulated module by its name in the
// window's language.
void MainWindow::showPort()
{
    LinkSettings shown = m_settings;
    if (shown.Port == SimulatedModulePort)
        shown.Port = tr("Szimulált modul");
    portLabel->setText(WindowText::portLabelText(shown, m_portChosen));
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
    m_journalLocation = location;
    m_journal.reset();
    m_journalGivenUp = false;
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

    for (QLineEdit *edit : formLineEdits(ui->centralWidget))
        connect(edit, &QLineEdit::editingFinished, this, &MainWindow::input_check);
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
    m_settings.FileName = DefaultContentFile;
    m_settings.FilePath = DefaultContentFile;
    loadFile(dataFilePath(DefaultContentFile));
}

void MainWindow::openfile()
{
    m_settings.FilePath = FileDialog::openFileName(this, tr("Open File"), fileDialogStart(false), contentFileFilter());
    if (m_settings.FilePath.isEmpty())
        return;
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
    markSaved();
    m_lastFile = path;
    m_settings.FileName = ContentFile::displayName(m_settings.FilePath);
    m_settings.RecordText.clear();
    fileLabel->setText(m_settings.FileName);
    if (!result.cut.isEmpty())
        statusBar()->showMessage(WindowText::cutFields(result.cut), CutNoticeMs);
    Message::information(this, tr("File opened."),
                         tr("%1 successfully loaded.").arg(m_settings.FileName));
}

void MainWindow::save()
{
    // A form that would not load back is refused before a name is asked for.
    const FormValues form = readForm(ui->centralWidget);
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(form)) {
        if (problem->field >= 0 && formLineEdits(ui->centralWidget)[problem->field]->focusPolicy() != Qt::NoFocus)
            formLineEdits(ui->centralWidget)[problem->field]->setFocus(Qt::OtherFocusReason);
        Message::warning(this, tr("Error"), WindowText::unsavable(*problem));
        return;
    }
    QString path = FileDialog::saveFileName(this, tr("Save File"), fileDialogStart(true), contentFileFilter());
    if (path.isEmpty())
        return;
    // As the file dialog of the program's first home did: a name without the
    // extension gets it, so that Open finds the file again.
    if (!path.endsWith(QLatin1String(".t16"), Qt::CaseInsensitive))
        path += QStringLiteral(".t16");
    if (ContentFile::save(path, form) != ContentFile::SaveStatus::Saved) {
        Message::warning(this, tr("Error"), tr("Cannot save the selected file."));
        return;
    }
    m_settings.FilePath = path;
    m_settings.FileName = ContentFile::displayName(path);
    fileLabel->setText(m_settings.FileName);
    markSaved();
    m_lastFile = path;
    Message::information(this, tr("Save"), tr("Save was successful."));
}

QString MainWindow::contentFileFilter() const
{
    return tr("T16 Files (*.t16)") + QStringLiteral(";;") + tr("All files (*)");
}

// Where the file dialogs start: the file last opened or saved (its name too,
// for Save), or the current folder.
QString MainWindow::fileDialogStart(bool withName) const
{
    if (m_lastFile.isEmpty())
        return QStringLiteral(".");
    return withName ? m_lastFile : QFileInfo(m_lastFile).path();
}

void MainWindow::saveas()
{
}

// --- Settings ---------------------------------------------------------------

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

void MainWindow::setChks8() { m_settings.CheckSize = 0; }
void MainWindow::setChks16() { m_settings.CheckSize = 1; }
void MainWindow::setChks24() { m_settings.CheckSize = 2; }
void MainWindow::setChks32() { m_settings.CheckSize = 3; }

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
        const RecordResult &record = planned.refusals.first();
        QString text = WindowText::downloadRefusal(record, m_settings.DownloadSeparator);
        if (record.field >= 0) {
            if (record.error == RecordError::MissingField) {
                qDebug().noquote() << lineEditCatalogue()[record.field].name;  // the diagnostic line the window has always written
                text += QLatin1Char('\n') + WindowText::missingField(record.field);
            }
            FieldMarks::mark(ui->centralWidget, lineEditCatalogue()[record.field].name, text);
            QLineEdit *field = formLineEdits(ui->centralWidget)[record.field];
            if (field->focusPolicy() != Qt::NoFocus && field->isEnabled())
                field->setFocus(Qt::OtherFocusReason);
        }
        Message::critical(this, tr("Betöltés hiba."), text);
        return;
    }
    JournalEntry start = startEntry(JournalName::Download, m_settings.Port);
    setContent(start, form);
    start.recordSha256 = planned.plan->recordSha256();
    start.file = m_settings.FilePath;
    JournalRecord entry = beginRecord(start);
    dload dialog(m_settings, *planned.plan, this);
    dialog.exec();
    setEnding(entry.entry(), dialog.report());
    if (dialog.endedMs() > 0)
        entry.entry().endedMs = dialog.endedMs();
    finishRecord(entry);
}

void MainWindow::readup()
{
    FieldMarks::clear(ui->centralWidget);
    JournalRecord entry = beginRecord(startEntry(JournalName::Readup, m_settings.Port));
    readupFromModule(this, m_settings, ui->centralWidget, ui->smskp_combo, entry.entry());
    finishRecord(entry);
}

void MainWindow::verify_func()
{
    if (!checkEditedField())
        return;
    FieldMarks::clear(ui->centralWidget);
    JournalEntry start = startEntry(JournalName::Verify, m_settings.Port);
    setContent(start, readForm(ui->centralWidget));
    start.file = m_settings.FilePath;
    JournalRecord entry = beginRecord(start);
    verifyAgainstModule(this, m_settings, ui->centralWidget, entry.entry());
    finishRecord(entry);
}

// --- Journal ----------------------------------------------------------------

// The journal, opened for the first transfer. One that cannot be opened is
// named once; transfers then go on unrecorded.
Journal *MainWindow::journal()
{
    if (m_journalLocation.kind == JournalLocation::Kind::Off || m_journalGivenUp)
        return nullptr;
    if (!m_journal)
        m_journal = std::make_unique<Journal>(m_journalLocation);
    if (!m_journal->isOpen()) {
        journalFailed();
        return nullptr;
    }
    return m_journal.get();
}

void MainWindow::journalFailed()
{
    if (m_journalGivenUp)
        return;
    m_journalGivenUp = true;
    const Journal::Problem problem = m_journal ? m_journal->problem() : Journal::Problem{};
    Message::warning(this, tr("Napló"), WindowText::journalUnavailable(m_journalLocation.shownName(), problem));
}

JournalRecord MainWindow::beginRecord(JournalEntry entry)
{
    JournalRecord record(journal(), entry);
    if (record.begun())
        return record;
    journalFailed();
    return JournalRecord(nullptr, record.entry());
}

void MainWindow::finishRecord(JournalRecord &record)
{
    if (!record.finish())
        journalFailed();
}

void MainWindow::showJournal()
{
    Journal *opened = journal();
    if (!opened)
        return;
    journalView view(*opened, this);
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
    markSaved();
    m_settings.RecordText.clear();
    fileLabel->setText(tr("Napló #%1").arg(view.chosen()->id));
}

void MainWindow::markSaved()
{
    m_savedForm = readForm(ui->centralWidget);
}

// Whether the form may give way to other content: at once when it holds
// nothing unsaved, else when the technician says so.
bool MainWindow::mayReplaceForm()
{
    if (readForm(ui->centralWidget) == m_savedForm)
        return true;
    return QMessageBox::question(this, tr("Napló"),
                                 tr("Az űrlapon mentetlen változások vannak.\nFelülírja őket a naplóbejegyzés tartalmával?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

// --- Help -------------------------------------------------------------------

// Both stay, hidden once closed, until the window goes.
void MainWindow::nevjegy()
{
    (new about(this))->show();
}

void MainWindow::contents()
{
    (new help(this))->show();
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
    const auto *edited = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!edited || !formLineEdits(ui->centralWidget).contains(edited))
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
