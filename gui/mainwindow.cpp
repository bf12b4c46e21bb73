#include "mainwindow.h"

#include "core/form/fieldcheck.h"
#include "core/settings/linksettings.h"
#include "gui/dialogs/messagebox.h"
#include "gui/files/handoverprint.h"
#include "gui/files/phonefiles.h"
#include "gui/files/recentfiles.h"
#include "gui/files/windowfiles.h"
#include "gui/form/formbinding.h"
#include "gui/form/rownumbers.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formfieldstyle.h"
#include "gui/form/formhistory.h"
#include "gui/form/mainwindowui.h"
#include "gui/form/telephonepaste.h"
#include "gui/form/verifykey.h"
#include "gui/journal/journallooks.h"
#include "gui/settings/chardialog.h"
#include "gui/settings/setcom.h"
#include "gui/station/stationwindow.h"
#include "gui/texts/windowtexts.h"
#include "gui/transfer/windowjobs.h"
#include "gui/transfer/windowtransfers.h"
#include "resourceicon.h"
#include "simulator/modulesimulator.h"
#include "toolwindows.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStatusBar>

namespace {
const QString MakersNotice = QStringLiteral("© 2009-2026 Példa Elektronika Kft. (www.example.com)");
} // namespace

MainWindow::MainWindow(QWidget *parent, const LinkSettings &settings)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_settings(settings)
    , m_tools(std::make_unique<ToolWindows>(this))
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

    createStatusLabels();
    m_history = new FormHistory(ui->centralWidget, this);
    m_jobs = std::make_unique<WindowJobs>(this);
    m_jobs->setIdleHandler([this] { emit idle(); });
    m_files = std::make_unique<WindowFiles>(this, ui->centralWidget, fileLabel,
                                            [this] { return m_jobs->journalLocation().kind != JournalLocation::Kind::Off; },
                                            m_history);
    m_transfers = std::make_unique<WindowTransfers>(this, ui->centralWidget, ui->smskp_combo,
                                                    [this] { return m_settings; }, *m_files, *m_jobs);
    m_looks = std::make_unique<JournalLooks>(this, ui->centralWidget, ui->smskp_combo, *m_files, *m_jobs);
    connectParts();
    connectActions();
    new VerifyKey(ui->centralWidget, this);
    new TelephonePaste(ui->centralWidget, this);
    new RowNumbers(ui->Frame, this);
    m_files->setOrigin(FormOrigin::Source::None, {});
}

MainWindow::~MainWindow()
{
    // A job still under way (the program ended without a close) is ended and
    // waited for before anything it uses goes.
    m_jobs.reset();
    // A window that goes with the cursor in a field loses its focus only in
    // ~QWidget, after this: the field's check must not run on what is left.
    for (QLineEdit *edit : formLineEdits(ui->centralWidget)) {
        edit->disconnect(this);
        edit->disconnect(m_history);
    }
}

// What the window's parts leave behind: the file named, the record last
// built, where the form came from, and boxes that hold the field checks.
void MainWindow::connectParts()
{
    connect(m_files.get(), &WindowFiles::fileNamed, this, [this](const QString &path, const QString &name) {
        m_settings.FilePath = path;
        m_settings.FileName = name;
    });
    connect(m_files.get(), &WindowFiles::recordOutdated, this, [this] { m_settings.RecordText.clear(); });
    connect(m_transfers.get(), &WindowTransfers::recordBuilt, this, [this](const QString &record) {
        m_settings.RecordText = record;
    });
    connect(m_transfers.get(), &WindowTransfers::formSent, this, [this](const FormValues &form) {
        m_files->origin().sent(form);
    });
    connect(m_transfers.get(), &WindowTransfers::formReadUp, this, [this](const QString &port, qint64 entry) {
        m_files->forgetFile();
        m_settings.RecordText.clear();
        m_files->setOrigin(FormOrigin::Source::Module, port, entry);
    });
    connect(m_looks.get(), &JournalLooks::formFromJournal, this, [this](qint64 entry) {
        m_settings.RecordText.clear();
        m_files->setOrigin(FormOrigin::Source::Journal, QString::number(entry));
    });
    const auto hold = [this](bool held) { m_fieldChecksHeld += held ? 1 : -1; };
    connect(m_files.get(), &WindowFiles::fieldChecksHeld, this, hold);
    connect(m_transfers.get(), &WindowTransfers::fieldChecksHeld, this, hold);
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
    m_jobs->setJournalLocation(location);
}

bool MainWindow::isBusy() const
{
    return m_jobs->isBusy();
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
        {ui->actionChanges, &MainWindow::showChanges},
        {ui->actionPrint, &MainWindow::printSheet},
        {ui->actionImportPhones, &MainWindow::importPhoneNumbers},
        {ui->actionExportPhones, &MainWindow::exportPhoneNumbers},
        {ui->actionPhoneBook, &MainWindow::showPhoneBook},
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
        connect(edit, &QLineEdit::textChanged, this, [this] { m_files->showOrigin(); });
    }
    for (QCheckBox *box : formCheckBoxes(ui->centralWidget))
        connect(box, &QCheckBox::toggled, this, [this] { m_files->showOrigin(); });
    connect(ui->smskp_combo, &QComboBox::currentIndexChanged, this, &MainWindow::smskpSelect);
    connect(ui->menuRecent, &QMenu::aboutToShow, this, &MainWindow::listRecentFiles);
    connect(ui->actionUndo, &QAction::triggered, m_history, &FormHistory::undo);
    connect(ui->actionRedo, &QAction::triggered, m_history, &FormHistory::redo);
    // A step put back brings the operator list along; marks spoke of what was there.
    connect(m_history, &FormHistory::restored, this, [this](const FormValues &values) {
        FieldMarks::clear(ui->centralWidget);
        ui->smskp_combo->setCurrentIndex(operatorIndexForNumber(values.texts.first()));
        m_files->showOrigin();
    });
}

// File's recent files, newest first, each opened as File → Megnyitás would.
void MainWindow::listRecentFiles()
{
    ui->menuRecent->clear();
    const QStringList files = RecentFiles::list();
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo file(files[i]);
        QAction *open = ui->menuRecent->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(file.fileName()));
        open->setToolTip(file.absoluteFilePath());
        open->setStatusTip(file.absoluteFilePath());
        connect(open, &QAction::triggered, this, [this, path = files[i]] { m_files->openPath(path); });
    }
    if (files.isEmpty())
        ui->menuRecent->addAction(tr("(nincs)"))->setEnabled(false);
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
    m_files->newFile();
}

void MainWindow::openfile()
{
    m_files->open();
}

void MainWindow::openPath(const QString &path)
{
    m_files->openPath(path);
}

void MainWindow::save()
{
    m_files->save();
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
    if (checkEditedField())
        m_transfers->download();
}

void MainWindow::readup()
{
    m_transfers->readup();
}

void MainWindow::verify_func()
{
    if (checkEditedField())
        m_transfers->verify();
}

void MainWindow::showJournal()
{
    m_looks->showJournal();
}

void MainWindow::printSheet()
{
    printHandoverSheet(this, readForm(ui->centralWidget), m_files->phoneBook().book());
}

void MainWindow::importPhoneNumbers()
{
    importPhones(this, ui->centralWidget, *m_history, m_files->phoneBook());
}

void MainWindow::exportPhoneNumbers()
{
    exportPhones(this, ui->centralWidget, m_files->phoneBook().book());
}

void MainWindow::showPhoneBook()
{
    m_files->phoneBook().edit(this);
}

void MainWindow::showChanges()
{
    m_looks->showChanges();
}

// Each batch of the station starts from the form as it stands then: its
// template, named as the title bar names it.
void MainWindow::showStation()
{
    m_tools->showStation([this] {
        const TemplateSource form = [this] { return StationTemplate{readForm(ui->centralWidget), m_files->originShown()}; };
        return new StationWindow(form, m_settings, m_jobs->journalLocation(), m_deviceLookup, this);
    });
}

// A job under way ends first, as soon as it can (a transfer before its next
// byte, a look at the journal once the database answers), without its
// boxes; the window closes after it, asking about unsaved work as always.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_jobs->isBusy()) {
        event->ignore();
        m_jobs->stop([this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); });
        return;
    }
    if (m_files->mayReplaceForm())
        event->accept();
    else
        event->ignore();
}

// --- Help -------------------------------------------------------------------

void MainWindow::nevjegy()
{
    m_tools->showAbout();
}

void MainWindow::contents()
{
    m_tools->showHelp();
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
    if (m_checkingFields || m_fieldChecksHeld > 0)
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
