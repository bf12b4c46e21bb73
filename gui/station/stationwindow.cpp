#include "stationwindow.h"

#include "core/storage/outputfile.h"
#include "gui/dialogs/filedialog.h"
#include "gui/dialogs/messagebox.h"
#include "gui/texts/windowtexts.h"
#include "core/content/contentfile.h"
#include "core/content/manifest.h"
#include "core/journal/journal.h"
#include "core/journal/sharedjournal.h"
#include "core/provisioning/unitchoice.h"
#include "core/provisioning/unitstatus.h"
#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"
#include "labelprinting.h"
#include "labels/labelfile.h"
#include "gui/journal/journalview.h"
#include "porttile.h"
#include "portrunner.h"
#include "stationreader.h"
#include "stationtexts.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cerrno>

StationWindow::StationWindow(const FormValues &templateForm, const LinkSettings &settings, const JournalLocation &journal,
                             const DeviceLookup &lookup, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_template(templateForm)
    , m_settings(settings)
    , m_location(journal)
    , m_lookup(lookup)
    , m_call(std::make_unique<BenchCall>(this))
{
    setObjectName(QStringLiteral("station"));
    setWindowTitle(tr("Állomás"));
    resize(920, 640);
    auto *layout = new QVBoxLayout(this);
    createSetup();
    layout->addWidget(m_setup);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->hide();
    layout->addWidget(m_summary);
    m_tileGrid = new QGridLayout;
    layout->addLayout(m_tileGrid);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("counts"));
    layout->addWidget(m_counts);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("units"));
    m_table->setHorizontalHeaderLabels({tr("Egység"), tr("Állapot"), tr("Bejegyzés"), tr("Idő"), tr("Állomás")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    // A unit's row opens its journal entries.
    connect(m_table, &QTableWidget::cellActivated, this, [this](int row) {
        if (!m_journal || !m_table->item(row, 0))
            return;
        journalView entries(m_location, this);
        entries.showUnit(m_table->item(row, 0)->text());
        entries.exec();
        activateWindow();  // the tiles' keys work again at once
    });
    auto *print = new QPushButton(tr("Címke &nyomtatása..."), this);
    print->setObjectName(QStringLiteral("printLabel"));
    connect(print, &QPushButton::clicked, this, &StationWindow::printChosenLabel);
    // Between rounds the set-up opens again: another manifest, other ports,
    // another template or other choices, without a restart.
    m_newBatch = new QPushButton(tr("Ú&j köteg..."), this);
    m_newBatch->setObjectName(QStringLiteral("newBatch"));
    m_newBatch->hide();
    connect(m_newBatch, &QPushButton::clicked, this, &StationWindow::closeBatch);
    // On sheet stock the labels fill a sheet's places across units and
    // rounds; the sheet goes when it is full, or now, by this button.
    m_printSheet = new QPushButton(this);
    m_printSheet->setObjectName(QStringLiteral("printSheet"));
    m_printSheet->hide();
    connect(m_printSheet, &QPushButton::clicked, this, &StationWindow::printSheetNow);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_printSheet);
    buttons->addWidget(m_newBatch);
    buttons->addWidget(print);
    layout->addLayout(buttons);
    createShortcuts();
    applyChoices(StationChoices::load());
}

// Every transfer stops before its next byte and has let its port go before
// the window does.
StationWindow::~StationWindow()
{
    stopAll();
    // A sheet's labels are never lost with the window: what is on it goes.
    if (const LabelSize *size = labelSize(m_labelSize->currentData().toString()); size && m_labelPrinter && !m_sheet.isEmpty())
        printSheet(*m_labelPrinter, m_sheet, *size);
    for (PortRunner *runner : m_runners)
        delete runner;
    stopReader();
}

void StationWindow::stopReader()
{
    if (m_overviewTimer)
        m_overviewTimer->stop();
    if (m_readerThread) {
        m_readerThread->quit();
        m_readerThread->wait();  // the reader goes with its thread
        delete m_readerThread;
    }
    m_readerThread = nullptr;
    m_reader = nullptr;
    m_reading = m_readAgain = false;
}

// The reader's thread, and a look at the journal every few seconds: units
// another station finished show up, and a database that went away and came
// back shows again without a hand on the window.
void StationWindow::startReader()
{
    m_readerThread = new QThread(this);
    m_reader = new StationReader(m_location);
    m_reader->moveToThread(m_readerThread);
    connect(m_readerThread, &QThread::finished, m_reader, &QObject::deleteLater);
    connect(m_reader, &StationReader::overviewRead, this,
            [this, batch = m_batchNumber](bool read, const QList<UnitStatus> &statuses, const QHash<QString, Journal::Proven> &proven) {
                if (batch == m_batchNumber)
                    showUnits(read, statuses, proven);
            });
    connect(m_reader, &StationReader::entryRead, this, [this](qint64, const std::optional<JournalEntry> &entry) { printEntryLabel(entry); });
    m_readerThread->start();
    if (!m_overviewTimer) {
        m_overviewTimer = new QTimer(this);
        m_overviewTimer->setInterval(OverviewEveryMs);
        connect(m_overviewTimer, &QTimer::timeout, this, &StationWindow::refreshUnits);
    }
    m_overviewTimer->start();
}

void StationWindow::createSetup()
{
    m_setup = new QWidget(this);
    auto *form = new QFormLayout(m_setup);
    auto *journal = new QLabel(m_location.kind == JournalLocation::Kind::Off ? tr("nincs napló") : m_location.shownName(), m_setup);
    journal->setObjectName(QStringLiteral("journal"));
    form->addRow(tr("Napló:"), journal);
    addTemplateRow(form);
    m_manifest = new QLineEdit(m_setup);
    m_manifest->setObjectName(QStringLiteral("manifest"));
    auto *chooseManifest = new QPushButton(tr("&Manifest..."), m_setup);
    connect(chooseManifest, &QPushButton::clicked, this, [this] {
        const QString path = FileDialog::openFileName(this, tr("Manifest"), QStringLiteral("."), tr("CSV Files (*.csv)"));
        if (!path.isEmpty())
            m_manifest->setText(path);
    });
    auto *manifestRow = new QHBoxLayout;
    manifestRow->addWidget(m_manifest, 1);
    manifestRow->addWidget(chooseManifest);
    form->addRow(tr("Egységek:"), manifestRow);
    m_portList = new QListWidget(m_setup);
    m_portList->setObjectName(QStringLiteral("ports"));
    m_portList->setMaximumHeight(90);
    for (const PortEntry &entry : listPorts(m_lookup)) {
        auto *item = new QListWidgetItem(entry.product.isEmpty() ? entry.name : entry.name + QStringLiteral(" — ") + entry.product, m_portList);
        item->setData(Qt::UserRole, entry.name);
        item->setCheckState(Qt::Unchecked);
    }
    form->addRow(tr("Portok:"), m_portList);
    m_backup = new QLineEdit(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups"), m_setup);
    m_backup->setObjectName(QStringLiteral("backup"));
    form->addRow(tr("Mentések:"), m_backup);
    // Factory-fresh modules hold nothing to keep: a unit then takes the
    // write and the proof alone. A module is still written once per unit:
    // the claims see to that, not the backup's read.
    m_fresh = new QCheckBox(tr("Új modulok: mentés nélkül"), m_setup);
    m_fresh->setObjectName(QStringLiteral("fresh"));
    connect(m_fresh, &QCheckBox::toggled, m_backup, &QWidget::setDisabled);
    form->addRow(QString(), m_fresh);
    addLabelRows(form);
    addCallRow(form);
    auto *begin = new QPushButton(tr("&Indítás"), m_setup);
    begin->setObjectName(QStringLiteral("begin"));
    connect(begin, &QPushButton::clicked, this, &StationWindow::openFromSetup);
    form->addRow(QString(), begin);
}

// The template: the form as the station opened, or a content file.
void StationWindow::addTemplateRow(QFormLayout *form)
{
    auto *templateName = new QLabel(tr("az űrlap"), m_setup);
    templateName->setObjectName(QStringLiteral("template"));
    auto *chooseTemplate = new QPushButton(tr("&Sablon fájlból..."), m_setup);
    chooseTemplate->setObjectName(QStringLiteral("chooseTemplate"));
    connect(chooseTemplate, &QPushButton::clicked, this, [this, templateName] {
        const QString path = FileDialog::openFileName(this, tr("Sablon"), QStringLiteral("."), tr("T16 Files (*.t16)"));
        if (path.isEmpty())
            return;
        const ContentFile::LoadResult loaded = ContentFile::load(path, m_template);
        if (loaded.status != ContentFile::LoadStatus::Loaded) {
            Message::critical(this, tr("Állomás"), tr("A sablon nem olvasható: %1").arg(path));
            return;
        }
        m_template = loaded.values;
        templateName->setText(ContentFile::displayName(path));
    });
    auto *templateRow = new QHBoxLayout;
    templateRow->addWidget(templateName, 1);
    templateRow->addWidget(chooseTemplate);
    form->addRow(tr("Sablon:"), templateRow);
}

// A label for each proven unit: as a PDF in a folder, or on a printer.
void StationWindow::addLabelRows(QFormLayout *form)
{
    m_autoLabels = new QCheckBox(tr("Címke minden igazolt egységhez"), m_setup);
    m_autoLabels->setObjectName(QStringLiteral("autoLabels"));
    m_labelSize = new QComboBox(m_setup);
    m_labelSize->setObjectName(QStringLiteral("labelSize"));
    for (const LabelSize &size : labelSizes())
        m_labelSize->addItem(size.id, size.id);
    m_labelFolder = new QLineEdit(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/labels"), m_setup);
    m_labelFolder->setObjectName(QStringLiteral("labelFolder"));
    auto *labelRow = new QHBoxLayout;
    labelRow->addWidget(m_autoLabels);
    labelRow->addWidget(m_labelSize);
    labelRow->addWidget(m_labelFolder, 1);
    form->addRow(tr("Címkék (PDF):"), labelRow);
    m_printerName = new QLabel(tr("nincs: a címkék PDF-be kerülnek"), m_setup);
    m_printerName->setObjectName(QStringLiteral("labelPrinter"));
    auto *choosePrinter = new QPushButton(tr("Ny&omtató..."), m_setup);
    connect(choosePrinter, &QPushButton::clicked, this, &StationWindow::chooseLabelPrinter);
    auto *printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printerName, 1);
    printerRow->addWidget(choosePrinter);
    form->addRow(tr("Címkenyomtató:"), printerRow);
}

// How a finished port calls the technician; each way can be switched off.
void StationWindow::addCallRow(QFormLayout *form)
{
    m_callSound = new QCheckBox(tr("Hang"), m_setup);
    m_callSound->setObjectName(QStringLiteral("callSound"));
    m_callAttention = new QCheckBox(tr("Ablak jelzése"), m_setup);
    m_callAttention->setObjectName(QStringLiteral("callAttention"));
    m_titleCount = new QCheckBox(tr("Cserére várók a címsorban"), m_setup);
    m_titleCount->setObjectName(QStringLiteral("titleCount"));
    auto *row = new QHBoxLayout;
    for (QCheckBox *box : {m_callSound, m_callAttention, m_titleCount}) {
        box->setChecked(true);
        row->addWidget(box);
    }
    row->addStretch(1);
    connect(m_callSound, &QCheckBox::toggled, this, [this](bool on) { m_call->setSound(on); });
    connect(m_callAttention, &QCheckBox::toggled, this, [this](bool on) { m_call->setAttention(on); });
    connect(m_titleCount, &QCheckBox::toggled, this, &StationWindow::showWaiting);
    form->addRow(tr("Hívás:"), row);
}

// The ports that finished a unit and wait for the next module, counted in
// the title, where a glance at the task bar finds it.
void StationWindow::showWaiting()
{
    const auto waiting = std::count(m_waiting.cbegin(), m_waiting.cend(), true);
    setWindowTitle(waiting > 0 && m_titleCount->isChecked() ? tr("Állomás – cserére vár: %1").arg(waiting) : tr("Állomás"));
}

void StationWindow::createShortcuts()
{
    for (int key = 1; key <= 9; ++key) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::Key_0 + key), this);
        connect(shortcut, &QShortcut::activated, this, [this, key] { startPort(key - 1); });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, &StationWindow::startAll);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &StationWindow::stopAll);
}

void StationWindow::openFromSetup()
{
    QStringList ports;
    for (int i = 0; i < m_portList->count(); ++i) {
        if (m_portList->item(i)->checkState() == Qt::Checked)
            ports << m_portList->item(i)->data(Qt::UserRole).toString();
    }
    if (open(m_manifest->text(), ports, m_fresh->isChecked() ? QString() : m_backup->text()))
        chosen().save();
}

void StationWindow::applyChoices(const StationChoices &c)
{
    if (!c.manifest.isEmpty())
        m_manifest->setText(c.manifest);
    for (int i = 0; i < m_portList->count(); ++i) {
        if (c.ports.contains(m_portList->item(i)->data(Qt::UserRole).toString()))
            m_portList->item(i)->setCheckState(Qt::Checked);
    }
    if (!c.backupFolder.isEmpty())
        m_backup->setText(c.backupFolder);
    m_fresh->setChecked(c.fresh);
    if (!c.printer.isEmpty())
        setLabelPrinter(c.printer);
    m_autoLabels->setChecked(c.autoLabels);
    if (const int size = m_labelSize->findData(c.labelSize); size >= 0)
        m_labelSize->setCurrentIndex(size);
    if (!c.labelFolder.isEmpty())
        m_labelFolder->setText(c.labelFolder);
    m_callSound->setChecked(c.sound);
    m_callAttention->setChecked(c.attention);
    m_titleCount->setChecked(c.titleCount);
}

StationChoices StationWindow::chosen() const
{
    StationChoices c;
    c.manifest = m_manifest->text();
    for (int i = 0; i < m_portList->count(); ++i) {
        if (m_portList->item(i)->checkState() == Qt::Checked)
            c.ports << m_portList->item(i)->data(Qt::UserRole).toString();
    }
    c.backupFolder = m_backup->text();
    c.fresh = m_fresh->isChecked();
    c.autoLabels = m_autoLabels->isChecked();
    c.labelSize = m_labelSize->currentData().toString();
    c.labelFolder = m_labelFolder->text();
    c.printer = m_labelPrinter ? m_labelPrinter->printerName() : QString();
    c.sound = m_callSound->isChecked();
    c.attention = m_callAttention->isChecked();
    c.titleCount = m_titleCount->isChecked();
    return c;
}

// The batch ends between rounds: its ports, tiles, journal and overview go,
// and the set-up, with the choices as they were, comes back.
void StationWindow::closeBatch()
{
    if (isBusy())
        return;
    for (PortRunner *runner : std::exchange(m_runners, {}))
        delete runner;
    for (PortTile *tile : std::exchange(m_tiles, {}))
        delete tile;
    m_waiting.clear();
    m_toLabel.clear();
    stopReader();
    ++m_batchNumber;
    m_journal.reset();
    m_batch.units.clear();
    m_batch.manifestPath.clear();
    m_batch.backupFolder.clear();
    m_batch.taken.clear();
    m_ports.clear();
    m_candidates.clear();
    m_proven.clear();
    m_statuses.clear();
    m_countsText.clear();
    m_manifestDone = false;
    m_table->setRowCount(0);
    m_counts->clear();
    m_summary->hide();
    m_newBatch->hide();
    m_setup->show();
    showWaiting();
}

QString StationWindow::labelsShown() const
{
    if (!m_autoLabels->isChecked())
        return tr("nincs");
    const QString size = m_labelSize->currentData().toString();
    return m_labelPrinter ? tr("%1, %2").arg(m_labelPrinter->printerName(), size) : tr("PDF, %1").arg(size);
}

bool StationWindow::open(const QString &manifestPath, const QStringList &ports, const QString &backupFolder)
{
    // Without a journal the station could not know what is done.
    if (m_location.kind == JournalLocation::Kind::Off) {
        Message::critical(this, tr("Állomás"), tr("Az állomás csak naplóval dolgozik: a napló tudja, mely egységek készek."));
        return false;
    }
    if (ports.isEmpty() || !m_runners.empty()) {
        Message::warning(this, tr("Állomás"), tr("Válasszon legalább egy portot."));
        return false;
    }
    if (!readManifest(manifestPath))
        return false;
    m_journal = std::make_unique<SharedJournal>(m_location);
    if (!m_journal->isOpen() || (!backupFolder.isEmpty() && !makeOwnFolder(backupFolder))) {
        Message::critical(this, tr("Állomás"), m_journal->isOpen() ? tr("A mentések mappája nem hozható létre: %1").arg(backupFolder)
                                                                    : WindowText::journalUnavailable(m_location.shownName(), m_journal->problem()));
        m_journal.reset();
        return false;
    }
    m_batch.manifestPath = manifestPath;
    m_batch.backupFolder = backupFolder;  // the read-up before a download also shows a module not swapped
    m_ports = ports;
    m_candidates = chooseUnits(m_batch.units, ports, false);
    QHash<QString, QString> adapters;  // the adapter's name, where sysfs has one
    for (const PortEntry &entry : listPorts(m_lookup))
        adapters.insert(entry.name, entry.product);
    for (int p = 0; p < ports.size(); ++p) {
        auto *runner = new PortRunner(ports[p], m_batch, m_settings, m_journal.get(), this);
        auto *tile = new PortTile(p + 1, ports[p], adapters.value(ports[p]), this);
        connect(runner, &PortRunner::claimed, tile, &PortTile::showClaimed);
        connect(runner, &PortRunner::progressed, tile, &PortTile::showProgress);
        connect(runner, &PortRunner::finished, this, [this, p](const PortTurn &turn) { finishTurn(p, turn); });
        connect(tile, &PortTile::startRequested, this, [this, p] { startPort(p); });
        m_runners.push_back(runner);
        m_tiles.push_back(tile);
        m_waiting.push_back(false);
        m_tileGrid->addWidget(tile, p / 4, p % 4);
    }
    // The choices are made: their room goes to the tiles, a line keeps them in view.
    m_setup->hide();
    m_summary->setText(tr("Egységek: %1   Napló: %2   Címkék: %3   Mentések: %4")
                           .arg(manifestPath, m_location.shownName(), labelsShown(),
                                backupFolder.isEmpty() ? tr("nincs (új modulok)") : backupFolder));
    m_summary->show();
    m_newBatch->show();
    startReader();
    refreshUnits();
    return true;
}

bool StationWindow::readManifest(const QString &path)
{
    const ManifestBytes read = readManifestBytes(path);
    if (read.problem != ManifestBytes::Problem::None) {
        Message::critical(this, tr("Állomás"), tr("A manifest nem olvasható: %1").arg(path), StationText::manifestBytes(read));
        return false;
    }
    QBuffer file;
    file.setData(read.bytes);
    file.open(QIODevice::ReadOnly);
    const Manifest manifest = ::readManifest(file, m_template, m_settings);
    if (manifest.problems.isEmpty()) {
        m_batch.units = manifest.units;
        m_batch.templateForm = m_template;
        m_batch.settings = m_settings;
        return true;
    }
    QStringList problems;
    for (const ManifestProblem &problem : manifest.problems)
        problems << StationText::manifestProblem(problem, m_settings.DownloadSeparator);
    Message::critical(this, tr("Állomás"), tr("A manifest hibás (%1 hiba), egyetlen egység sem lett elküldve.").arg(problems.size()),
                      problems.join(QLatin1Char('\n')));
    return false;
}

bool StationWindow::isBusy() const
{
    return std::any_of(m_runners.cbegin(), m_runners.cend(), [](const PortRunner *runner) { return runner->isRunning(); });
}

// The port's next unit: the first in manifest order that the journal does
// not hold as done, claimed as it starts.
void StationWindow::startPort(int port)
{
    if (port < 0 || port >= int(m_runners.size()) || m_runners[size_t(port)]->isRunning())
        return;
    QList<QList<int>> candidates = {m_candidates[port]};
    leaveOutDone(candidates, m_batch.units, m_proven, false);
    m_tiles[size_t(port)]->showWaiting();
    m_waiting[size_t(port)] = false;
    showWaiting();
    m_runners[size_t(port)]->start(candidates.first());
}

void StationWindow::startAll()
{
    for (int port = 0; port < int(m_runners.size()); ++port)
        startPort(port);
}

void StationWindow::stopAll()
{
    for (PortRunner *runner : m_runners)
        runner->stop();
}

void StationWindow::finishTurn(int port, const PortTurn &turn)
{
    m_tiles[size_t(port)]->showTurn(turn);
    if (turn.kind == ClaimedUnit::Kind::Taken) {
        m_waiting[size_t(port)] = true;
        showWaiting();
        m_call->call();
    }
    if (turn.kind == ClaimedUnit::Kind::Taken && turn.outcome.state == UnitState::Proven && m_autoLabels->isChecked())
        m_toLabel.emplace_back(port, turn);
    labelRound();
    refreshUnits();
}

void StationWindow::setLabelFolder(const QString &folder)
{
    m_labelFolder->setText(folder);
    m_autoLabels->setChecked(true);
}

void StationWindow::setLabelPrinter(const QString &printerName)
{
    m_labelPrinter = std::make_unique<QPrinter>();
    m_labelPrinter->setPrinterName(printerName);
    m_printerName->setText(printerName);
    m_autoLabels->setChecked(true);
}

void StationWindow::chooseLabelPrinter()
{
    auto printer = std::make_unique<QPrinter>();
    QPrintDialog dialog(printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setLabelPrinter(printer->printerName());
}

// The label of a unit just proven: on the label printer, or as a PDF
// beside the others.
void StationWindow::printSheetNow()
{
    const LabelSize *size = labelSize(m_labelSize->currentData().toString());
    if (m_sheet.isEmpty() || !m_labelPrinter || !size)
        return;
    if (!printSheet(*m_labelPrinter, m_sheet, *size)) {
        Message::warning(this, tr("Állomás"), tr("A címkék ívének nyomtatója nem indult el; az ív címkéi megmaradnak."));
        return;
    }
    m_sheet.clear();
    showSheet();
}

// The places taken and the next one, on the button that prints the sheet.
void StationWindow::showSheet()
{
    m_printSheet->setText(tr("Í&v nyomtatása (%1 címke, következő hely: %2)").arg(m_sheet.size()).arg(m_sheet.size() + 1));
    m_printSheet->setVisible(!m_sheet.isEmpty());
}

// Ports that finish within moments of each other would hand over their
// labels in the order they happened to end; held until the round's last port
// ends, they come out in tile order, each with its tile's number.
void StationWindow::labelRound()
{
    if (isBusy())
        return;
    std::sort(m_toLabel.begin(), m_toLabel.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[port, turn] : std::exchange(m_toLabel, {}))
        labelProven(port, turn);
}

void StationWindow::labelProven(int port, const PortTurn &turn)
{
    std::optional<LabelContent> label = labelFor(turn.claim);
    if (label) {
        label->tile = port + 1;
        label->port = m_ports.value(port);
    }
    const LabelSize *size = labelSize(m_labelSize->currentData().toString());
    if (!label || !size)
        return;
    if (m_labelPrinter && size->perPage() > 1) {
        m_sheet.append(*label);
        m_tiles[size_t(port)]->addNote(tr("Címke: az ív %1. helye").arg(m_sheet.size()));
        if (m_sheet.size() == size->perPage())
            printSheetNow();
        showSheet();
        return;
    }
    if (m_labelPrinter) {
        const bool printed = printLabel(*m_labelPrinter, *label, *size);
        m_tiles[size_t(port)]->addNote(printed ? tr("Címke nyomtatva: %1").arg(m_labelPrinter->printerName())
                                               : tr("A címke nyomtatója nem indult el."));
        return;
    }
    QString path;
    const QString folder = m_labelFolder->text();
    const FileError error = makeOwnFolder(folder) ? writeLabelFile(folder, *label, *size, &path) : FileError::system(ENOENT);
    m_tiles[size_t(port)]->addNote(error ? tr("Címke nem készült: %1").arg(WindowText::fileError(error))
                                         : tr("Címke: %1").arg(QFileInfo(path).fileName()));
}

// The chosen unit's label on a printer the technician picks.
void StationWindow::printChosenLabel()
{
    const int row = m_table->currentRow();
    const qint64 entry = row >= 0 && m_table->item(row, 2) ? m_table->item(row, 2)->text().toLongLong() : 0;
    if (!entry || !m_reader) {
        printEntryLabel(std::nullopt);
        return;
    }
    QMetaObject::invokeMethod(m_reader, [reader = m_reader, entry] { reader->readEntry(entry); }, Qt::QueuedConnection);
}

// The chosen unit's entry, as the reader found it.
void StationWindow::printEntryLabel(const std::optional<JournalEntry> &proven)
{
    const std::optional<LabelContent> label = proven ? labelFor(*proven) : std::nullopt;
    const LabelSize *size = labelSize(m_labelSize->currentData().toString());
    if (!label || !size) {
        Message::warning(this, tr("Címke"), tr("Válasszon egy kész egységet a táblázatban."));
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !printLabel(printer, *label, *size))
        Message::warning(this, tr("Címke"), tr("A nyomtató nem indult el."));
}

// The manifest at a glance: counts, and each unit's state as the journal
// has it. One read at a time; a request meanwhile reads again after it.
void StationWindow::refreshUnits()
{
    if (!m_reader)
        return;
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    m_readAgain = false;
    QMetaObject::invokeMethod(m_reader, [reader = m_reader, units = m_batch.units] { reader->readOverview(units); },
                              Qt::QueuedConnection);
}

// Only the rows that changed are written again: a long manifest costs the
// window little at each look.
void StationWindow::showUnits(bool read, const QList<UnitStatus> &statuses, const QHash<QString, Journal::Proven> &proven)
{
    m_reading = false;
    if (m_readAgain)
        refreshUnits();
    if (!read) {
        const QString unread = tr("A napló most nem olvasható; az állomás újra próbálja.");
        m_counts->setText(m_countsText.isEmpty() ? unread : m_countsText + QLatin1Char('\n') + unread);
        return;
    }
    m_proven = proven;
    m_table->setRowCount(int(statuses.size()));
    for (int row = 0; row < statuses.size(); ++row) {
        const UnitStatus &s = statuses[row];
        if (row < m_statuses.size()) {
            const UnitStatus &was = m_statuses[row];
            if (was.state == s.state && was.entry == s.entry && was.whenMs == s.whenMs && was.station == s.station)
                continue;
        }
        const QString cells[] = {s.unit, StationText::unitState(s.state), s.entry ? QString::number(s.entry) : QString(),
                                 s.whenMs ? WindowText::localTime(s.whenMs) : QString(),
                                 s.station};
        for (int column = 0; column < 5; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_statuses = statuses;
    showCounts(statuses);
}

void StationWindow::showCounts(const QList<UnitStatus> &statuses)
{
    // Another station is another process, on this machine too.
    const ProcessIdentity here = ProcessIdentity::self();
    QHash<UnitStatus::State, int> count;
    int elsewhere = 0;
    for (const UnitStatus &s : statuses) {
        ++count[s.state];
        elsewhere += s.state == UnitStatus::State::Claimed && !(s.holder == here);
    }
    using State = UnitStatus::State;
    const int done = count.value(State::Done);
    m_countsText = tr("Kész: %1   Hátra: %2   Hibás: %3   Más állomás foglalja: %4   Módosult: %5   Nem igazolt: %6"
                      "   Nem cserélt: %7   Megszakítva: %8   Foglalás elveszett: %9")
                       .arg(done).arg(int(statuses.size()) - done).arg(count.value(State::Failed)).arg(elsewhere)
                       .arg(count.value(State::Changed)).arg(count.value(State::NotProven)).arg(count.value(State::NotSwapped))
                       .arg(count.value(State::Interrupted)).arg(count.value(State::ClaimLost));
    m_counts->setText(m_countsText);
    // The manifest done calls once, as a port does.
    const bool allDone = !statuses.isEmpty() && done == statuses.size();
    if (allDone && !m_manifestDone)
        m_call->call();
    m_manifestDone = allDone;
}

// Closing stops every transfer; each port's thread ends before its next
// byte and lets its port and lock go.
void StationWindow::closeEvent(QCloseEvent *event)
{
    stopAll();
    event->accept();
}
