#include "stationwindow.h"

#include "core/journal/sharedjournal.h"
#include "core/provisioning/batchopening.h"
#include "gui/journal/journalview.h"
#include "gui/texts/windowtexts.h"
#include "benchkeys.h"
#include "workerqueue.h"
#include "portrunner.h"
#include "portkeys.h"
#include "unitfilter.h"
#include "unitfilterbar.h"
#include "batchrefusal.h"
#include "porttile.h"
#include "stationlabels.h"
#include "stationoverview.h"
#include "stationscan.h"
#include "shiftreportview.h"
#include "labels/shiftreportpage.h"
#include "core/provisioning/shiftreport.h"
#include "core/journal/journal.h"
#include "stationtexts.h"
#include "stationunits.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

StationWindow::StationWindow(TemplateSource form, const LinkSettings &settings, const JournalLocation &journal,
                             const DeviceLookup &lookup, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_location(journal)
    , m_lookup(lookup)
    , m_worker(std::make_unique<WorkerQueue>())
    , m_call(std::make_unique<BenchCall>(this))
{
    setObjectName(QStringLiteral("station"));
    setWindowTitle(tr("Állomás"));
    resize(920, 640);
    m_setup = new StationSetup(journal, lookup, std::move(form), this);
    createLayout();
    m_overview = new StationOverview(m_counts, this);
    m_filter->setSourceModel(m_overview->units());
    m_table->setModel(m_filter);
    m_labels = new StationLabels(m_setup, m_printSheet, this,
                                 [this](int p) { return p < int(m_tiles.size()) ? m_tiles[size_t(p)] : nullptr; });
    m_scan = new StationScan(m_scanLine, m_overview, m_labels, this);
    connect(m_scan, &StationScan::unitEntriesWanted, this, &StationWindow::showUnitEntries);
    connect(m_setup, &StationSetup::firstPlaceChanged, m_labels, &StationLabels::setFirstPlace);
    m_labels->setPrinter(m_setup->choices().printer);
    connect(m_setup, &StationSetup::beginRequested, this, &StationWindow::openFromSetup);
    connect(m_setup, &StationSetup::printerRequested, m_labels, &StationLabels::choosePrinter);
    connect(m_setup, &StationSetup::soundChanged, this, [this](bool on) { m_call->setSound(on); });
    connect(m_setup, &StationSetup::attentionChanged, this, [this](bool on) { m_call->setAttention(on); });
    connect(m_setup, &StationSetup::titleCountChanged, this, &StationWindow::showWaiting);
    m_call->setSound(m_setup->choices().sound);
    m_call->setAttention(m_setup->choices().attention);
    connect(m_overview, &StationOverview::looked, this, &StationWindow::manifestLooked);
    createShortcuts();
    m_watch.setInterval(500);
    connect(&m_watch, &QTimer::timeout, this, &StationWindow::watch);
    m_watch.start();
}

StationWindow::StationWindow(const FormValues &templateForm, const LinkSettings &settings, const JournalLocation &journal,
                             const DeviceLookup &lookup, QWidget *parent)
    : StationWindow([templateForm] { return StationTemplate{templateForm, tr("az átadott űrlap")}; }, settings, journal, lookup,
                    parent)
{
}

// Every transfer stops before its next byte and has let its port go before
// the window does; the journal goes after the ports that write to it.
StationWindow::~StationWindow()
{
    stopAll();
    for (PortRunner *runner : std::exchange(m_runners, {}))
        delete runner;
    m_overview->stop();
    releaseJournal();
    m_labels->printWhatIsLeft();
}

void StationWindow::createLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_setup);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->hide();
    layout->addWidget(m_summary);
    m_tileGrid = new QGridLayout;
    layout->addLayout(m_tileGrid);
    m_scanLine = new QLabel(this);
    layout->addWidget(m_scanLine);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("counts"));
    layout->addWidget(m_counts);
    m_filter = new UnitFilter(this);
    layout->addLayout(unitFilterBar(m_filter, this));
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("units"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    // A unit's row opens its journal entries.
    connect(m_table, &QTableView::activated, this,
            [this](const QModelIndex &index) { showUnitEntries(m_filter->mapToSource(index).row()); });
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
    // What every station did with the batch's manifest so far, on a page.
    m_report = new QPushButton(tr("&Műszak összesítő..."), this);
    m_report->setObjectName(QStringLiteral("shiftReportButton"));
    m_report->hide();
    connect(m_report, &QPushButton::clicked, this, &StationWindow::reportShift);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_report);
    buttons->addStretch(1);
    buttons->addWidget(m_printSheet);
    buttons->addWidget(m_newBatch);
    buttons->addWidget(print);
    layout->addLayout(buttons);
}

void StationWindow::createShortcuts()
{
    // A port's key on its own, told from a scanner's code by BenchKeys.
    m_keys = new BenchKeys(this);
    connect(m_keys, &BenchKeys::portKey, this, &StationWindow::pressPort);
    connect(m_keys, &BenchKeys::scanned, m_scan, &StationScan::scanned);
    for (int port = 0; port < PortKeys::Count; ++port) {
        // With Ctrl, the tile's last label once more.
        auto *again = new QShortcut(PortKeys::reprintSequence(port), this);
        connect(again, &QShortcut::activated, this, [this, port] { m_labels->reprint(port); });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, &StationWindow::startAll);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &StationWindow::escape);
}

// The template's origin as it stands whenever the set-up is in sight.
void StationWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_setup->isVisible())
        m_setup->showTemplate();
}

void StationWindow::openFromSetup()
{
    if (open(m_setup->manifest(), m_setup->ports(), m_setup->backupFolder()))
        m_setup->choices().save();
}

bool StationWindow::open(const QString &manifestPath, const QStringList &ports, const QString &backupFolder)
{
    // Without a journal the station could not know what is done.
    if (m_location.kind == JournalLocation::Kind::Off) {
        OpenedBatch none;
        none.problem = OpenedBatch::Problem::NoJournal;
        sayWhyNotOpened(this, none, manifestPath, backupFolder, m_settings, m_location);
        return false;
    }
    if (!m_runners.empty() || isOpening())
        return false;
    // No ports: the manifest watched across every station ("Figyelés").
    const StationTemplate form = m_setup->currentTemplate();
    const BatchChoice choice{manifestPath, ports, backupFolder, form.form, m_settings, m_location, ports.isEmpty()};
    auto opened = std::make_shared<OpenedBatch>();
    m_opening.start();
    m_setup->setOpening(true);
    m_counts->setText(tr("A napló megnyitása..."));
    m_batch.templateForm = form.form;
    onWorker([choice, opened] { *opened = openBatch(choice); }, [this, opened, opening = ++m_openings, manifestPath, ports, backupFolder] {
        if (opening != m_openings) {  // given up meanwhile: its journal goes where it was opened
            onWorker([opened] { opened->journal.reset(); }, [] {});
            return;
        }
        batchOpened(*opened, manifestPath, ports, backupFolder);
    });
    return true;
}

void StationWindow::onWorker(std::function<void()> job, std::function<void()> done)
{
    m_worker->run(std::move(job), std::move(done));
}

void StationWindow::batchOpened(const OpenedBatch &batch, const QString &manifestPath, const QStringList &ports,
                                const QString &backupFolder)
{
    m_opening.invalidate();
    m_setup->setOpening(false);
    m_counts->clear();
    if (sayWhyNotOpened(this, batch, manifestPath, backupFolder, m_settings, m_location)) {
        emit opened(false);
        return;
    }
    m_journal = batch.journal;
    m_batch.units = batch.units;
    m_batch.settings = m_settings;
    m_batch.manifestPath = manifestPath;
    m_batch.backupFolder = backupFolder;  // the read-up before a download also shows a module not swapped
    m_candidates = batch.candidates;
    addPorts(ports);
    // The choices are made: their room goes to the tiles, a line keeps them in view.
    m_setup->hide();
    if (ports.isEmpty())
        m_summary->setText(tr("Figyelés: minden állomás, semmi sem íródik   Egységek: %1   Napló: %2").arg(manifestPath, m_location.shownName()));
    else
        m_summary->setText(tr("Egységek: %1   Napló: %2   Címkék: %3   Mentések: %4")
                               .arg(manifestPath, m_location.shownName(), m_labels->shown(),
                                    backupFolder.isEmpty() ? tr("nincs (új modulok)") : backupFolder));
    m_summary->show();
    m_newBatch->show();
    m_report->show();
    m_overview->start(m_location, m_batch.units, ports.isEmpty());
    m_scan->setUnits(&m_batch.units, ports.isEmpty());
    m_keys->setActive(true);
    emit opened(true);
}

void StationWindow::addPorts(const QStringList &ports)
{
    m_ports = ports;
    QHash<QString, QString> adapters;  // the adapter's name, where sysfs has one
    for (const PortEntry &entry : listPorts(m_lookup))
        adapters.insert(entry.name, entry.product);
    for (int p = 0; p < ports.size(); ++p) {
        auto *runner = new PortRunner(ports[p], m_batch, m_settings, m_journal.get(), this);
        auto *tile = new PortTile(p + 1, ports[p], adapters.value(ports[p]), this);
        connect(runner, &PortRunner::claimed, tile, &PortTile::showClaimed);
        connect(runner, &PortRunner::progressed, tile, &PortTile::showProgress);
        connect(runner, &PortRunner::finished, this, [this, p](const PortTurn &turn) { finishTurn(p, turn); });
        connect(tile, &PortTile::startRequested, this, [this, p] { pressPort(p); });
        m_runners.push_back(runner);
        m_tiles.push_back(tile);
        m_waiting.push_back(false);
        m_tileGrid->addWidget(tile, p / 4, p % 4);
    }
}

// An opening given up ends on its own; the set-up is there again.
void StationWindow::cancelOpening()
{
    if (!isOpening())
        return;
    ++m_openings;
    m_opening.invalidate();
    m_setup->setOpening(false);
    m_counts->clear();
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
    m_keys->setActive(false);
    m_scan->setUnits(nullptr, false);
    m_labels->forgetRound();
    m_overview->stop();
    releaseJournal();
    m_batch.units.clear();
    m_batch.manifestPath.clear();
    m_batch.backupFolder.clear();
    m_batch.taken.clear();
    m_ports.clear();
    m_candidates.clear();
    m_manifestDone = false;
    m_summary->hide();
    m_newBatch->hide();
    m_report->hide();
    m_setup->show();
    m_setup->showTemplate();
    showWaiting();
}

// The journal closes off the window's thread: a database that hangs keeps
// the worker, not the window.
void StationWindow::releaseJournal()
{
    if (m_journal)
        onWorker([journal = std::exchange(m_journal, {})]() mutable { journal.reset(); }, [] {});
}

bool StationWindow::isHoldingKey() const
{
    return m_keys->isHolding();
}

bool StationWindow::isBusy() const
{
    return std::any_of(m_runners.cbegin(), m_runners.cend(), [](const PortRunner *runner) { return runner->isRunning(); });
}

// Escape stops every port; with none running, it closes the station.
void StationWindow::escape()
{
    if (isBusy())
        stopAll();
    else
        close();
}

// The journal's silences: a look at it, an opening, or a port that waits on
// it longer than NotAnsweringMs is said to wait.
void StationWindow::watch()
{
    if (isOpening() && m_opening.hasExpired(NotAnsweringMs))
        m_counts->setText(tr("A napló megnyitása... A napló nem válaszol (%1 mp).").arg(m_opening.elapsed() / 1000));
    for (size_t port = 0; port < m_runners.size(); ++port)
        m_tiles[port]->showJournalWait(m_runners[port]->journalWaitMs() > NotAnsweringMs);
}

// The ports that finished a unit and wait for the next module, counted in
// the title, where a glance at the task bar finds it.
void StationWindow::showWaiting()
{
    const auto waiting = std::count(m_waiting.cbegin(), m_waiting.cend(), true);
    setWindowTitle(waiting > 0 && m_setup->titleCount() ? tr("Állomás – cserére vár: %1").arg(waiting) : tr("Állomás"));
}

void StationWindow::pressPort(int port)
{
    if (port < 0 || port >= int(m_runners.size()) || m_runners[size_t(port)]->isRunning())
        return;
    if (m_tiles[size_t(port)]->acknowledge())
        return;
    if (!m_scan->handOver(port, m_candidates[port]))
        return;
    const int picked = m_scan->picked();
    m_scan->forget();
    startPort(port, picked >= 0 ? QList<int>{picked} : QList<int>{});
}

// The port's next unit: the first in manifest order (or of `only`) that the
// journal does not hold as done, claimed as it starts.
void StationWindow::startPort(int port, const QList<int> &only)
{
    if (port < 0 || port >= int(m_runners.size()) || m_runners[size_t(port)]->isRunning())
        return;
    QList<int> candidates = only.isEmpty() ? m_candidates[port] : only;
    const QList<UnitStatus> &statuses = m_overview->units()->statuses();
    candidates.removeIf([&statuses](int unit) {
        const UnitStatus::State state = statuses.value(unit).state;
        return state == UnitStatus::State::Done || state == UnitStatus::State::Changed;
    });
    m_tiles[size_t(port)]->showWaiting();
    m_waiting[size_t(port)] = false;
    showWaiting();
    m_runners[size_t(port)]->start(candidates);
}

// Every waiting port but those whose failure is not yet acknowledged.
void StationWindow::startAll()
{
    for (int port = 0; port < int(m_runners.size()); ++port) {
        if (!m_tiles[size_t(port)]->awaitsAcknowledgement())
            startPort(port);
    }
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
        const UnitState state = turn.outcome.state;
        m_call->call(state == UnitState::Proven       ? BenchCall::Event::Proven
                     : state == UnitState::NotSwapped ? BenchCall::Event::NotSwapped
                                                      : BenchCall::Event::Failed);
    }
    if (turn.kind == ClaimedUnit::Kind::Taken && turn.outcome.state == UnitState::Proven)
        m_labels->proven(port, m_ports.value(port), turn.claim);
    if (!isBusy())
        m_labels->labelGathered();  // the round is over: nothing more to wait for
    m_overview->lookNow();
}

// The manifest done calls once, as a port does.
void StationWindow::manifestLooked()
{
    const int units = int(m_batch.units.size());
    const bool allDone = units > 0 && m_overview->count(UnitStatus::State::Done) == units;
    if (allDone && !m_manifestDone)
        m_call->call(BenchCall::Event::BatchDone);
    m_manifestDone = allDone;
}

void StationWindow::setLabelFolder(const QString &folder)
{
    m_setup->setLabelFolder(folder);
}

void StationWindow::setLabelPrinter(const QString &printerName)
{
    m_labels->setPrinter(printerName);
}

void StationWindow::showUnitEntries(int row)
{
    if (!m_journal || row < 0 || row >= m_overview->units()->statuses().size())
        return;
    auto *entries = new journalView(m_location, this);
    entries->setAttribute(Qt::WA_DeleteOnClose);
    entries->showUnit(m_overview->units()->statuses()[row].unit);
    connect(entries, &QDialog::finished, this, [this] { activateWindow(); });  // the tiles' keys work again at once
    entries->open();
}

// The chosen unit's label on a printer the technician picks, from its
// entry as the journal has it.
void StationWindow::printChosenLabel()
{
    const int row = m_filter->mapToSource(m_table->currentIndex()).row();
    const qint64 entry = row >= 0 ? m_overview->units()->statuses().value(row).entry : 0;
    if (!entry) {
        m_labels->printEntryLabel(std::nullopt);
        return;
    }
    m_overview->readEntry(entry, [this](const std::optional<JournalEntry> &read) { m_labels->printEntryLabel(read); });
}

// The report is read off the window's thread, from a connection of its
// own that only reads; the station goes on meanwhile.
void StationWindow::reportShift()
{
    QStringList units;
    for (const ManifestUnit &unit : m_batch.units)
        units << unit.unit;
    auto report = std::make_shared<std::optional<ShiftReport>>();
    onWorker([location = m_location, units, report] {
        Journal journal(location, Journal::Mode::Read);
        if (journal.isOpen())
            *report = shiftReport(units, journal.provisionings(0, {}), {});
    }, [this, report, manifest = QFileInfo(m_batch.manifestPath).fileName()] {
        if (!*report) {
            // A box, not the counts line, which the next look at the journal rewrites.
            auto *box = new QMessageBox(QMessageBox::Warning, tr("Műszak összesítő"),
                                        tr("A napló nem olvasható; a műszak összesítője nem készült el."), QMessageBox::Close, this);
            box->setObjectName(QStringLiteral("shiftReportUnread"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
            return;
        }
        const ShiftReportHeading heading{manifest, std::nullopt, {}, QDateTime::currentMSecsSinceEpoch()};
        showShiftReport(this, shiftReportPage(**report, heading, WindowText::journalReason));
    });
}

// Closing stops every transfer; each port's thread ends before its next
// byte and lets its port and lock go. An opening still waiting is given up.
void StationWindow::closeEvent(QCloseEvent *event)
{
    stopAll();
    cancelOpening();
    m_labels->printWhatIsLeft();  // a sheet partly used goes now, not when the program ends
    event->accept();
}
