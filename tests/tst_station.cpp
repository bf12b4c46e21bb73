#include "core/content/contentfile.h"
#include "core/journal/journal.h"
#include "gui/dialogs/filedialog.h"
#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"
#include "gui/journal/journalview.h"
#include "labels/language.h"
#include "gui/station/labelprinting.h"
#include "gui/station/portrunner.h"
#include "gui/station/porttile.h"
#include "gui/station/stationwindow.h"
#include "cupsserver.h"
#include "filebytes.h"
#include "gui/station/benchcall.h"
#include "gui/station/sheetstock.h"
#include "gui/station/stationsetup.h"
#include "heldjournal.h"
#include "pgserver.h"
#include "labelfit.h"
#include "modal.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QLineEdit>
#include <QComboBox>
#include <QSet>
#include <QSpinBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QMessageBox>
#include <QTest>

#include <tuple>

#include <condition_variable>
#include <mutex>
#include <thread>

// Eszköz → Állomás on simulated modules: rounds started by keys, a module
// not swapped, a module that holds other content, and Escape.
class TestStation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Station
    {
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        std::unique_ptr<StationWindow> window;
        QString journal;
    };

    // A station on one simulated module per options, over units u1 … u<units>,
    // journalled in a SQLite file of its own or at `journal`.
    // `csvOf`, when given, writes the manifest for the ports the modules got.
    using ManifestOf = std::function<QByteArray(const QStringList &ports)>;
    Station station(const QString &name, const QList<SimulatorOptions> &modules, int units, const QString &journal = {},
                    bool withBackups = true, const ManifestOf &csvOf = {})
    {
        Station made;
        QStringList ports;
        for (const SimulatorOptions &options : modules) {
            made.sims.push_back(std::make_unique<ModuleSimulator>(options));
            made.sims.back()->start();
            ports << made.sims.back()->slavePath();
        }
        QByteArray csv = "unit,m_nev\n";
        for (int u = 1; u <= units; ++u)
            csv += QStringLiteral("u%1,KAPU %1\n").arg(u).toUtf8();
        if (csvOf)
            csv = csvOf(ports);
        QFile manifest(m_dir.filePath(name + ".csv"));
        manifest.open(QIODevice::WriteOnly);
        manifest.write(csv);
        manifest.close();
        made.journal = journal.isEmpty() ? m_dir.filePath(name + ".sqlite") : journal;
        made.window = std::make_unique<StationWindow>(downloadableForm(), LinkSettings{}, parseJournalDestination(made.journal),
                                                      DeviceLookup{}, nullptr);
        made.window->show();
        if (!QTest::qWaitForWindowActive(made.window.get()))
            qWarning("the station did not become active");
        if (!opens(*made.window, manifest.fileName(), ports, withBackups ? m_dir.filePath(name + "-backups") : QString()))
            made.window.reset();
        return made;
    }

    // A batch opens beside the window: true once it has, with its tiles.
    static bool opens(StationWindow &window, const QString &manifest, const QStringList &ports, const QString &backups)
    {
        return window.open(manifest, ports, backups) && QTest::qWaitFor([&window] { return !window.isOpening(); }, 30000)
            && window.portCount() == ports.size();
    }

    static QString unitAt(const StationWindow &window, int row)
    {
        return window.unitTable()->model()->index(row, 0).data().toString();
    }

    // A port's key, pressed alone: held a moment to be told from a scanned
    // code, then its port runs to the end of its turn.
    static void press(StationWindow &window, Qt::Key key)
    {
        QTest::keyClick(&window, key);
        QTRY_VERIFY(!window.isHoldingKey());
        QTRY_VERIFY_WITH_TIMEOUT(!window.isBusy(), 30000);
    }

    // A scanner's code: its characters (a keyboard layout's own letters
    // too) and Enter, at once.
    static void scan(StationWindow &window, const QString &code)
    {
        for (const QChar c : code) {
            const auto key = Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Press, &window, key, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, &window, key, QString(c), Qt::NoModifier);
        }
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(!window.isHoldingKey());
    }

    static int provenEntries(const QString &journal)
    {
        Journal read(parseJournalDestination(journal), Journal::Mode::Read);
        Journal::Filter proven;
        proven.operation = JournalName::Provision;
        proven.result = JournalName::Ok;
        proven.limit = 0;
        return int(read.find(proven).size());
    }

private slots:
    // Two rounds on four modules, the second after a swap, by each tile's
    // key: eight units proven, each once; a module left in place is not
    // written with the ninth.
    void twoRoundsByKeys()
    {
        Station s = station("rounds", QList<SimulatorOptions>(4), 9);
        QVERIFY(s.window);
        s.window->setLabelFolder(m_dir.filePath("labels"));
        press(*s.window, Qt::Key_F5);
        const QList<QByteArray> fresh = ModuleSimulator().fields();
        for (const auto &sim : s.sims)
            sim->setFields(fresh);  // the technician swaps the four modules
        for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4})
            press(*s.window, key);
        for (int port = 0; port < 4; ++port)
            QVERIFY2(s.window->tile(port)->resultText().startsWith("✔ Igazolva"), qPrintable(s.window->tile(port)->resultText()));
        QCOMPARE(provenEntries(s.journal), 8);
        QCOMPARE(QDir(m_dir.filePath("labels")).entryList({"u?-*.pdf"}, QDir::Files).size(), 8);  // a label for each
        QTRY_VERIFY(s.window->findChild<QLabel *>("counts")->text().startsWith("Kész: 8   Hátra: 1"));  // read beside the window
        // A unit's row opens its journal entries: its provisioning and each step.
        qint64 entries = -1;
        QString title;
        ModalDriver driver([&](QWidget *modal) {
            auto *view = qobject_cast<journalView *>(modal);
            if (!view || view->matching() < 0)
                return false;
            entries = view->matching();
            title = view->windowTitle();
            view->reject();
            return true;
        });
        emit s.window->unitTable()->activated(s.window->unitTable()->model()->index(0, 0));
        QTRY_COMPARE(title, QString("Napló: u1"));
        QCOMPARE(entries, 4);  // provision, backup, download, verify
        QTRY_VERIFY(s.window->isActiveWindow());
        QList<BenchCall::Event> sounds;
        s.window->benchCall().setSoundPlayer([&](BenchCall::Event event) { sounds << event; });
        press(*s.window, Qt::Key_1);  // not swapped
        QVERIFY2(s.window->tile(0)->resultText().startsWith("! A modul még a(z) u"), qPrintable(s.window->tile(0)->resultText()));
        QCOMPARE(sounds.value(0), BenchCall::Event::NotSwapped);
        QCOMPARE(provenEntries(s.journal), 8);
    }

    // New modules, no backup: each unit is written and proven, with no read
    // before, and no backup folder is made. Each finished port calls the
    // technician and is counted in the title.
    void freshModulesWithoutBackup()
    {
        Station s = station("fresh", QList<SimulatorOptions>(2), 2, {}, false);
        QVERIFY(s.window);
        QVERIFY(s.window->findChild<QLabel *>("summary")->text().endsWith("Mentések: nincs (új modulok)"));
        int alerts = 0;
        s.window->benchCall().setAlert([&](QWidget *window) { alerts += window == s.window.get(); });
        QList<BenchCall::Event> sounds;
        s.window->benchCall().setSoundPlayer([&](BenchCall::Event event) { sounds << event; });
        press(*s.window, Qt::Key_F5);
        QCOMPARE(provenEntries(s.journal), 2);
        // Each finished port calls, and the manifest done once more, once
        // the overview has read it: each with a sound of its own.
        QTRY_COMPARE(alerts, 3);
        using Event = BenchCall::Event;
        QCOMPARE(sounds, QList<Event>({Event::Proven, Event::Proven, Event::BatchDone}));
        QStringList names;
        for (Event event : {Event::Proven, Event::Failed, Event::NotSwapped, Event::BatchDone})
            names << BenchCall::soundName(event);
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), 4);
        QCOMPARE(s.window->windowTitle(), QString("Állomás – cserére vár: 2"));
        s.window->findChild<QCheckBox *>("titleCount")->setChecked(false);
        QCOMPARE(s.window->windowTitle(), QString("Állomás"));
        Journal read(parseJournalDestination(s.journal), Journal::Mode::Read);
        Journal::Filter backups;
        backups.operation = JournalName::Backup;
        QCOMPARE(read.find(backups).size(), 0);
        for (const auto &sim : s.sims)
            QVERIFY(sim->received().startsWith("~}"));  // the download's request first
        QVERIFY(!QFileInfo::exists(m_dir.filePath("fresh-backups")));
    }

    // Batch after batch in one program run: between rounds the set-up
    // opens again and takes another manifest on the same module.
    void batchAfterBatch()
    {
        Station s = station("batch1", QList<SimulatorOptions>(1), 1, {}, false);
        QVERIFY(s.window);
        press(*s.window, Qt::Key_F5);
        auto *newBatch = s.window->findChild<QPushButton *>("newBatch");
        QVERIFY(newBatch->isVisible());
        QTest::mouseClick(newBatch, Qt::LeftButton);
        QVERIFY(s.window->findChild<QLineEdit *>("manifest")->isVisible());
        QCOMPARE(s.window->portCount(), 0);
        QCOMPARE(s.window->unitTable()->model()->rowCount(), 0);
        QFile second(m_dir.filePath("batch2.csv"));
        QVERIFY(second.open(QIODevice::WriteOnly));
        second.write("unit,m_nev\nv1,B\nv2,C\n");
        second.close();
        QVERIFY(opens(*s.window, second.fileName(), {s.sims.front()->slavePath()}, QString()));
        QCOMPARE(s.window->portCount(), 1);
        press(*s.window, Qt::Key_F5);
        QVERIFY2(s.window->tile(0)->resultText().startsWith("✔ Igazolva"), qPrintable(s.window->tile(0)->resultText()));
        QCOMPARE(provenEntries(s.journal), 2);  // u1, then v1
        QTRY_COMPARE(s.window->unitTable()->model()->rowCount(), 2);
        QCOMPARE(unitAt(*s.window, 0), QString("v1"));
    }

    // A module that answers with other content shows the fields that
    // differ; Escape stops a paced transfer, releases its port and lock,
    // and the journal holds that unit as interrupted, not proven.
    void otherContentAndEscape()
    {
        SimulatorOptions other;
        other.scriptedAnswer = ModuleSimulator::uploadAnswer(ModuleSimulator().fields());
        SimulatorOptions paced;
        paced.paced = true;
        Station s = station("escape", {other, paced}, 2);
        QVERIFY(s.window);
        QTest::keyClick(s.window.get(), Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(s.sims[1]->received().size() > 20, 20000);
        QTest::keyClick(s.window.get(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!s.window->isBusy(), 30000);
        QVERIFY2(s.window->tile(0)->resultText().contains("Eltérő mezők: smskp, m_pin, m_id, m_nev, visszaallas és még 27"), qPrintable(s.window->tile(0)->resultText()));
        QVERIFY2(s.window->tile(1)->resultText().startsWith("! Megszakítva"), qPrintable(s.window->tile(1)->resultText()));
        Journal read(parseJournalDestination(s.journal), Journal::Mode::Read);
        Journal::Filter interrupted;
        interrupted.operation = JournalName::Provision;
        interrupted.result = JournalName::Interrupted;
        QCOMPARE(read.find(interrupted).size(), 1);
        QCOMPARE(read.provisioned().size(), 0);
        for (const auto &sim : s.sims) {
            const QString lock = "LCK.." + sim->slavePath().mid(5).replace('/', '_');  // /dev/pts/3: LCK..pts_3
            QVERIFY2(!QFileInfo::exists(QDir(qEnvironmentVariable("TAVIR340_LOCK_DIR")).filePath(lock)), qPrintable(lock));
        }
    }

    // The database restarted, its sessions ended, while both ports write:
    // both reconnect and prove their units, and the overview comes back by
    // itself. Then the server hangs (SIGSTOP): the overview's looks, a unit's
    // journal, F5 and Escape all come back at once, and once the server goes
    // on, the port stopped meanwhile sends nothing.
    void aStationOutlivesItsDatabase()
    {
        PostgresServer server;
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        SimulatorOptions paced;
        paced.paced = true;
        Station s = station("outlives", {paced, paced}, 3, server.address());
        QVERIFY(s.window);
        QTest::keyClick(s.window.get(), Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(s.sims[0]->received().size() > 20 && s.sims[1]->received().size() > 20, 20000);
        QVERIFY(server.terminateSessions());
        server.stop();
        QVERIFY(server.start());
        QTRY_VERIFY_WITH_TIMEOUT(!s.window->isBusy(), 90000);
        for (int port = 0; port < 2; ++port)
            QVERIFY2(s.window->tile(port)->resultText().startsWith("✔ Igazolva"), qPrintable(s.window->tile(port)->resultText()));
        auto *counts = s.window->findChild<QLabel *>("counts");
        QTRY_VERIFY2_WITH_TIMEOUT(counts->text().startsWith("Kész: 2   Hátra: 1"), qPrintable(counts->text()), 10000);

        const QByteArray sent[] = {s.sims[0]->received(), s.sims[1]->received()};
        std::mutex mutex;
        std::condition_variable answered;
        bool done = false, thawedByWatchdog = false;
        QVERIFY(server.freeze(true));
        std::thread watchdog([&] {  // a window that waits on the database would wait forever
            std::unique_lock lock(mutex);
            if (!answered.wait_for(lock, std::chrono::seconds(60), [&] { return done; }))
                thawedByWatchdog = server.freeze(false);
        });
        // Every process of the server stopped: the looks at the journal and
        // the ports that ask it wait, and the window says so; a unit's
        // journal, F5 and Escape come back at once.
        QTest::keyClick(s.window.get(), Qt::Key_F5);  // the third unit, claimed once the server answers
        QTRY_VERIFY2_WITH_TIMEOUT(counts->text().contains("A napló nem válaszol"), qPrintable(counts->text()), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(s.window->tile(0)->findChild<QLabel *>("journalWait")->isVisible()
                                     && s.window->tile(1)->findChild<QLabel *>("journalWait")->isVisible(), 20000);
        bool viewed = false;
        ModalDriver driver([&viewed](QWidget *modal) {
            if (!qobject_cast<journalView *>(modal))
                return false;
            static_cast<QDialog *>(modal)->reject();
            return viewed = true;
        });
        emit s.window->unitTable()->activated(s.window->unitTable()->model()->index(0, 0));
        QTRY_VERIFY(viewed && s.window->isActiveWindow());
        QTest::keyClick(s.window.get(), Qt::Key_Escape);
        {
            const std::lock_guard lock(mutex);
            done = true;
        }
        answered.notify_one();
        watchdog.join();
        QVERIFY2(!thawedByWatchdog, "the window waited on the stopped database");
        QVERIFY(server.freeze(false));
        QTRY_VERIFY_WITH_TIMEOUT(!s.window->isBusy(), 30000);
        QCOMPARE(s.sims[0]->received(), sent[0]);
        QCOMPARE(s.sims[1]->received(), sent[1]);
        // Once it answers again, nothing is counted twice.
        QTRY_VERIFY2_WITH_TIMEOUT(counts->text().startsWith("Kész: 2   Hátra: 1"), qPrintable(counts->text()), 10000);
        QVERIFY(!counts->text().contains("nem válaszol"));
        QCOMPARE(provenEntries(server.address()), 2);
    }

    // The longest things tiles say, four side by side, at the window's
    // first size and at the smallest the station allows, in Hungarian and
    // English: no text cut off.
    void tilesShowTheirWholeText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("hu") << QString();
        QTest::newRow("en") << QString("en");
    }
    void tilesShowTheirWholeText()
    {
        QFETCH(QString, language);
        QCOMPARE(Language::install(language), !language.isEmpty());
        const auto restore = qScopeGuard([] { Language::install({}); });
        QFile manifest(m_dir.filePath("sizes.csv"));
        QVERIFY(manifest.open(QIODevice::WriteOnly) && manifest.write("unit,m_nev\nu1,A\n") > 0);
        manifest.close();
        StationWindow window(downloadableForm(), LinkSettings{}, parseJournalDestination(m_dir.filePath("sizes.sqlite")), DeviceLookup{}, nullptr);
        QVERIFY(opens(window, manifest.fileName(), {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB3"}, m_dir.filePath("sizes-backups")));
        PortTurn failed, swapped, interrupted, proven;
        for (PortTurn *turn : {&failed, &swapped, &interrupted, &proven})
            turn->kind = ClaimedUnit::Kind::Taken;
        StepOutcome verify;
        verify.stage = Stage::Verify;
        verify.reason = "mismatch";
        verify.differences = QList<FieldDifference>(32, FieldDifference{"be2_off_msg", "a", "b"});
        failed.outcome.state = UnitState::Failed;
        failed.outcome.steps << verify;
        swapped.outcome.state = UnitState::NotSwapped;
        swapped.outcome.heldUnit = "gate-budapest-0041";
        interrupted.outcome.state = UnitState::Interrupted;
        const PortTurn *turns[] = {&failed, &swapped, &interrupted, &proven};
        for (int port = 0; port < 4; ++port) {
            window.tile(port)->showClaimed("gate-budapest-0042");
            window.tile(port)->showProgress(Stage::Readup, 300, 750);
            window.tile(port)->showTurn(*turns[port]);
        }
        window.tile(3)->addNote(QStringLiteral("Címke: gate-budapest-0042-123456.pdf"));
        window.show();
        for (const QSize size : {QSize(920, 507), window.minimumSizeHint()}) {
            window.resize(size);
            const QStringList cut = clippedLabels(&window);
            QVERIFY2(cut.isEmpty(), qPrintable(QString("%1×%2: ").arg(window.width()).arg(window.height()) + cut.join(" | ")));
        }
    }

    // Labels through a CUPS server of the test's own, to a queue that keeps
    // each job as a file: one job, of one page, for each label, printed by
    // hand or by the station as a unit is proven.
    void labelsThroughCups()
    {
        CupsServer cups;
        QVERIFY2(cups.error().isEmpty(), qPrintable(cups.error()));
        LabelContent label;
        label.recordSha256 = QString(64, 'b');
        for (const char *unit : {"gate-8", "gate-9"}) {
            label.unit = unit;
            QPrinter printer;
            printer.setPrinterName("labels");
            QCOMPARE(printer.outputFormat(), QPrinter::NativeFormat);
            QVERIFY(printLabel(printer, label, *labelSize("62x29")));
        }
        // And a round of the station, printed as its units are proven, each
        // with its tile and port: tile 2's label does not wait for tile 1,
        // whose module stops taking bytes until tile 2's label is out.
        SimulatorOptions stalled;
        stalled.pauseAfter = 20;
        stalled.pauseMs = 60000;
        Station s = station("printed", {stalled, SimulatorOptions{}}, 2);
        QVERIFY(s.window);
        s.window->setLabelPrinter("labels");
        QTest::keyClick(s.window.get(), Qt::Key_F5);
        QTRY_COMPARE_WITH_TIMEOUT(QDir(cups.jobFolder()).entryList({"job-*.pdf"}, QDir::Files).size(), 3, 20000);
        QVERIFY(s.sims[0]->isPaused() && s.window->isBusy());
        s.sims[0]->resume();
        QTRY_VERIFY_WITH_TIMEOUT(!s.window->isBusy(), 30000);
        QVERIFY2(s.window->tile(0)->resultText().endsWith("Címke nyomtatva: labels"), qPrintable(s.window->tile(0)->resultText()));
        QTRY_COMPARE_WITH_TIMEOUT(QDir(cups.jobFolder()).entryList({"job-*.pdf"}, QDir::Files).size(), 4, 20000);
        // Ctrl and a tile's key: its last label once more.
        QTest::keyClick(s.window.get(), Qt::Key_2, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(QDir(cups.jobFolder()).entryList({"job-*.pdf"}, QDir::Files).size(), 5, 20000);
        for (int job = 1; job <= 5; ++job) {
            QProcess text;
            text.start("pdftotext", {"-layout", QDir(cups.jobFolder()).filePath(QString("job-%1.pdf").arg(job)), "-"});
            QVERIFY(text.waitForFinished(30000));
            const QString shown = QString::fromUtf8(text.readAllStandardOutput());
            QVERIFY2(shown.count("\f") == 1, qPrintable(shown));  // one page
            const int tile = job == 3 || job == 5 ? 2 : 1;
            if (job > 2)
                QVERIFY2(shown.contains(QString("[%1]").arg(tile)) && shown.contains(s.sims[size_t(tile - 1)]->slavePath()),
                         qPrintable(shown));
        }

        // Sheet stock: a round's two units fill places 1 and 2 of a sheet,
        // which goes when the station closes; the station opened again
        // goes on at place 3 of the same sheet, which goes when the
        // technician says so.
        auto jobText = [&cups](int job) {
            QProcess text;
            text.start("pdftotext", {"-layout", QDir(cups.jobFolder()).filePath(QString("job-%1.pdf").arg(job)), "-"});
            text.waitForFinished(30000);
            return QString::fromUtf8(text.readAllStandardOutput());
        };
        auto onSheetStock = [](Station &opened) {
            auto *stock = opened.window->findChild<QComboBox *>("labelSize");
            stock->setCurrentIndex(stock->findData("a4-3x8"));
            opened.window->setLabelPrinter("labels");
        };
        Station sheet = station("sheet", QList<SimulatorOptions>(2), 3);
        QVERIFY(sheet.window);
        onSheetStock(sheet);
        sheet.window->findChild<QSpinBox *>("firstPlace")->setValue(1);
        press(*sheet.window, Qt::Key_F5);
        QTRY_VERIFY(sheet.window->tile(1)->resultText().endsWith("Címke: az ív 2. helye"));
        auto *printSheet = sheet.window->findChild<QPushButton *>("printSheet");
        QCOMPARE(printSheet->text(), QString("Í&v nyomtatása (2 címke, következő hely: 3)"));
        QCOMPARE(QDir(cups.jobFolder()).entryList({"job-*.pdf"}, QDir::Files).size(), 5);  // nothing printed yet
        sheet.window->close();
        QTRY_COMPARE_WITH_TIMEOUT(QDir(cups.jobFolder()).entryList({"job-*.pdf"}, QDir::Files).size(), 6, 20000);
        QString shown = jobText(6);
        QVERIFY2(shown.count("\f") == 1 && shown.contains("u1 ") && shown.contains("u2 "), qPrintable(shown));
        sheet.window.reset();

        Station again = station("sheet", QList<SimulatorOptions>(1), 3);
        QVERIFY(again.window);
        QCOMPARE(again.window->findChild<QSpinBox *>("firstPlace")->value(), 3);
        onSheetStock(again);
        press(*again.window, Qt::Key_F5);
        QTRY_VERIFY(again.window->tile(0)->resultText().endsWith("Címke: az ív 3. helye"));
        printSheet = again.window->findChild<QPushButton *>("printSheet");
        QTest::mouseClick(printSheet, Qt::LeftButton);
        QVERIFY(!printSheet->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(QDir(cups.jobFolder()).entryList({"job-*.pdf"}, QDir::Files).size(), 7, 20000);
        shown = jobText(7);
        QVERIFY2(shown.count("\f") == 1 && shown.contains("u3 ") && !shown.contains("u1 "), qPrintable(shown));
        QCOMPARE(again.window->findChild<QSpinBox *>("firstPlace")->value(), 4);
    }

    // "Print to File (PDF)" in the printer dialog sends the labels, as PDF
    // files, into the folder of the file named there; a printer can be
    // chosen again afterwards.
    void aPdfChosenAsThePrinter()
    {
        Station s = station("topdf", QList<SimulatorOptions>(1), 1);
        QVERIFY(s.window);
        s.window->setLabelPrinter("labels");
        const QString folder = m_dir.filePath("chosen-pdf");
        QVERIFY(QDir().mkpath(folder));
        bool chosen = false;
        ModalDriver driver([&](QWidget *modal) {
            auto *dialog = qobject_cast<QPrintDialog *>(modal);
            if (!dialog)
                return false;
            auto *printers = dialog->findChild<QComboBox *>("printers");
            auto *file = dialog->findChild<QLineEdit *>("filename");
            if (!printers || !file)
                return false;
            printers->setCurrentIndex(printers->count() - 1);  // Qt's own "Print to File (PDF)", last
            file->setText(folder + "/labels.pdf");
            dialog->accept();
            return chosen = true;
        });
        emit s.window->findChild<StationSetup *>()->printerRequested();
        QVERIFY(chosen);
        QCOMPARE(s.window->findChild<QLabel *>("labelPrinter")->text(), QString("nincs: a címkék PDF-be kerülnek"));
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));  // the tiles' keys work again at once
        press(*s.window, Qt::Key_F5);
        QTRY_COMPARE(QDir(folder).entryList({"u1-*.pdf"}, QDir::Files).size(), 1);
        s.window->setLabelPrinter("labels");
        QCOMPARE(s.window->findChild<QLabel *>("labelPrinter")->text(), QString("labels"));
    }

    // Sixteen ports, each with a key of its own shown on its tile (1 to 9,
    // 0, then A to F); a port typed by its path joins the list ticked.
    void everyPortHasAKey()
    {
        Station s = station("keys", QList<SimulatorOptions>(12), 12, {}, false);
        QVERIFY(s.window);
        QCOMPARE(s.window->tile(9)->findChild<QLabel *>("title")->text().left(3), QString("0  "));
        QCOMPARE(s.window->tile(11)->findChild<QLabel *>("title")->text().left(3), QString("B  "));
        press(*s.window, Qt::Key_B);
        QVERIFY2(s.window->tile(11)->resultText().endsWith("Következő modul: B"), qPrintable(s.window->tile(11)->resultText()));
        QVERIFY(!s.sims[11]->received().isEmpty());
        for (size_t other = 0; other < 11; ++other)
            QVERIFY(s.sims[other]->received().isEmpty());
        // One proof in the last half hour: two an hour, and the manifest's
        // end at that pace. The table narrowed to what is left, by name.
        QTRY_VERIFY2(s.window->findChild<QLabel *>("counts")->text().contains("Ütem: 2 egység/óra (az utolsó 30 percben) — a manifest várhatóan kész:"),
                     qPrintable(s.window->findChild<QLabel *>("counts")->text()));
        auto *states = s.window->findChild<QComboBox *>("stateFilter");
        QAbstractItemModel *shown = s.window->unitTable()->model();
        states->setCurrentIndex(3);  // left to do
        QCOMPARE(shown->rowCount(), 11);
        states->setCurrentIndex(1);  // failures
        QCOMPARE(shown->rowCount(), 0);
        states->setCurrentIndex(3);
        s.window->findChild<QLineEdit *>("unitSearch")->setText("U1");
        QCOMPARE(shown->rowCount(), 3);  // u10, u11, u12; u1 is done
        QCOMPARE(unitAt(*s.window, 0), QString("u10"));

        StationWindow typed(downloadableForm(), LinkSettings{}, parseJournalDestination(m_dir.filePath("typed.sqlite")), DeviceLookup{}, nullptr);
        auto *setup = typed.findChild<StationSetup *>();
        typed.findChild<QLineEdit *>("portPath")->setText(s.sims[0]->slavePath());
        typed.findChild<QPushButton *>("addPort")->click();
        QVERIFY(setup->ports().contains(s.sims[0]->slavePath()));
    }

    // A barcode scanner at the bench: a scanned unit goes to the next port
    // whose key is pressed; a done unit and a stranger (even one that
    // begins with a port's key) are refused; a
    // label's QR code, typed by a US scanner on a Hungarian layout, shows its
    // entry and Enter makes the label again. A failed tile's key first
    // acknowledges the failure, which F5 leaves alone.
    void aScannerAtTheBench()
    {
        Station s = station("scan", QList<SimulatorOptions>(2), 4, {}, false);
        QVERIFY(s.window);
        s.window->setLabelFolder(m_dir.filePath("scan-labels"));
        auto *line = s.window->findChild<QLabel *>("scanLine");
        scan(*s.window, "u3");
        QVERIFY2(line->text().contains("u3 kiválasztva"), qPrintable(line->text()));
        press(*s.window, Qt::Key_2);
        QCOMPARE(s.window->tile(1)->findChild<QLabel *>("unit")->text(), QString("u3"));
        QVERIFY(s.sims[0]->received().isEmpty());
        QTRY_VERIFY(s.window->findChild<QLabel *>("counts")->text().startsWith("Kész: 1"));
        scan(*s.window, "U3");
        QVERIFY2(line->text().contains("u3 már kész"), qPrintable(line->text()));
        press(*s.window, Qt::Key_1);  // nothing picked: the manifest's first
        QCOMPARE(s.window->tile(0)->findChild<QLabel *>("unit")->text(), QString("u1"));
        scan(*s.window, "1-404");  // begins with port 1's key
        QVERIFY2(line->text().contains("nincs ilyen egység"), qPrintable(line->text()));
        QVERIFY(!s.window->isBusy());

        Journal read(parseJournalDestination(s.journal), Journal::Mode::Read);
        Journal::Filter proven;
        proven.operation = JournalName::Provision;
        proven.unit = "u3";
        const QList<JournalEntry> u3 = read.find(proven);
        QCOMPARE(u3.size(), 1);
        const auto onHungarianKeys = [](QString code) {
            for (auto [us, hu] : {std::pair{';', u'é'}, {'=', u'ó'}, {'0', u'ö'}})
                code.replace(QLatin1Char(us), QChar(hu));
            return code;
        };
        const QString payload = QString::fromUtf8(labelFor(u3[0])->qrPayload());
        const QString typed = onHungarianKeys(payload);
        QDir(m_dir.filePath("scan-labels")).removeRecursively();
        QMessageBox *box = nullptr;
        scan(*s.window, typed);
        QTRY_VERIFY((box = s.window->findChild<QMessageBox *>("scannedLabel")) && box->isVisible());
        QVERIFY(box->text().startsWith("u3\n"));
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_VERIFY(!s.window->findChild<QMessageBox *>("scannedLabel"));
        QCOMPARE(QDir(m_dir.filePath("scan-labels")).entryList({"u3-*.pdf"}, QDir::Files).size(), 1);
        scan(*s.window, typed);  // its PDF is there now: kept, not made twice
        QTRY_VERIFY((box = s.window->findChild<QMessageBox *>("scannedLabel")) && box->isVisible());
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_VERIFY2(line->text().contains("már megvan"), qPrintable(line->text()));
        QCOMPARE(QDir(m_dir.filePath("scan-labels")).entryList({"u3-*.pdf"}, QDir::Files).size(), 1);
        // A label of an entry the journal does not have, or of another unit.
        scan(*s.window, onHungarianKeys(QString(payload).replace(QString("E=%1;").arg(u3[0].id), "E=9999;")));
        QTRY_VERIFY2(line->text().contains("9999. bejegyzése nincs a naplóban"), qPrintable(line->text()));
        scan(*s.window, onHungarianKeys(QString(payload).replace("U=u3;", "U=u1;")));
        QTRY_VERIFY2(line->text().contains("nem egyezik"), qPrintable(line->text()));
        QVERIFY(!s.window->findChild<QMessageBox *>("scannedLabel"));

        PortTurn failed;
        failed.kind = ClaimedUnit::Kind::Taken;
        failed.outcome.state = UnitState::Failed;
        s.window->tile(0)->showTurn(failed);
        const QByteArray before = s.sims[0]->received();
        QTest::keyClick(s.window.get(), Qt::Key_F5);  // the second port only
        QTRY_VERIFY_WITH_TIMEOUT(!s.window->isBusy(), 30000);
        QCOMPARE(s.sims[0]->received(), before);
        press(*s.window, Qt::Key_1);  // acknowledged
        QCOMPARE(s.sims[0]->received(), before);
        QVERIFY2(s.window->tile(0)->resultText().contains("Nyugtázva"), qPrintable(s.window->tile(0)->resultText()));
        press(*s.window, Qt::Key_1);
        QVERIFY(s.sims[0]->received() != before);

        // The shift's report of the batch, its total the journal's proofs.
        s.window->findChild<QPushButton *>("shiftReportButton")->click();
        QPrintPreviewDialog *report = nullptr;
        QTRY_VERIFY((report = s.window->findChild<QPrintPreviewDialog *>("shiftReport")) && report->isVisible());
        QVERIFY2(report->accessibleDescription().contains(QString("Összesen\t%1\t").arg(provenEntries(s.journal))),
                 qPrintable(report->accessibleDescription()));
        report->reject();
        QTRY_VERIFY(!s.window->findChild<QPrintPreviewDialog *>("shiftReport"));
        // A journal gone from under the station: the report says it was not made.
        QVERIFY(QFile::rename(s.journal, s.journal + ".away"));
        s.window->findChild<QPushButton *>("shiftReportButton")->click();
        QMessageBox *unread = nullptr;
        QTRY_VERIFY((unread = s.window->findChild<QMessageBox *>("shiftReportUnread")) && unread->isVisible());
        QVERIFY(!s.window->findChild<QPrintPreviewDialog *>("shiftReport"));
        unread->close();
        QVERIFY(QFile::rename(s.journal + ".away", s.journal));
    }

    // A scanned unit the manifest binds to another port is not taken by
    // this one's key: nothing goes out, and the line says why.
    void aScannedUnitKeepsItsPort()
    {
        Station s = station("bound", QList<SimulatorOptions>(2), 0, {}, false, [](const QStringList &ports) {
            return QStringLiteral("unit,port,m_nev\nu1,%1,A\nu2,,B\n").arg(ports[1]).toUtf8();
        });
        QVERIFY(s.window);
        scan(*s.window, "u1");
        press(*s.window, Qt::Key_1);
        auto *line = s.window->findChild<QLabel *>("scanLine");
        QVERIFY2(line->text().contains("nem ehhez a porthoz tartozik"), qPrintable(line->text()));
        QVERIFY(s.sims[0]->received().isEmpty());
        QVERIFY(s.window->tile(0)->findChild<QLabel *>("unit")->text() != "u1");
    }

    // The station opened without ports watches the manifest across every
    // station that works on it, and writes nothing.
    void watchEveryBench()
    {
        const QString journalPath = m_dir.filePath("watch.sqlite");
        {
            Journal journal(parseJournalDestination(journalPath));
            QVERIFY(journal.isOpen());
            const QList<std::tuple<const char *, const char *, QString>> attempts = {
                {"bench-1", "u1", JournalName::Ok}, {"bench-1", "u2", JournalName::Ok}, {"bench-2", "u3", JournalName::Failed}};
            for (const auto &[station, unit, result] : attempts) {
                JournalEntry e = startEntry(JournalName::Provision, "/dev/ttyUSB0");
                e.station = station;
                e.unit = unit;
                e.id = journal.begin(e);
                e.result = result;
                e.endedMs = e.startedMs + 1000;
                QVERIFY(e.id > 0 && journal.complete(e));
            }
        }
        const QByteArray before = fileBytes(journalPath);
        QFile manifest(m_dir.filePath("watch.csv"));
        QVERIFY(manifest.open(QIODevice::WriteOnly) && manifest.write("unit,m_nev\nu1,A\nu2,B\nu3,C\nu4,D\n") > 0);
        manifest.close();
        StationWindow window(downloadableForm(), LinkSettings{}, parseJournalDestination(journalPath), DeviceLookup{}, nullptr);
        QVERIFY(opens(window, manifest.fileName(), {}, {}));
        QVERIFY(window.findChild<QLabel *>("summary")->text().startsWith("Figyelés: minden állomás, semmi sem íródik"));
        auto *counts = window.findChild<QLabel *>("counts");
        QTRY_VERIFY2(counts->text().contains(QRegularExpression("Állomások: bench-1: 2 kész, 0 hiba, 4/óra, utolsó: [^ ]+ · bench-2: 0 kész, 1 hiba, 0/óra")),
                     qPrintable(counts->text()));
        QCOMPARE(window.portCount(), 0);
        QCOMPARE(fileBytes(journalPath), before);
    }

    // Labels waiting for their sheet outlive the program, killed or not.
    void sheetStockOutlivesTheProgram()
    {
        LabelContent label;
        label.unit = "gate-7";
        label.entry = 77;
        label.tile = 2;
        label.port = "/dev/ttyUSB1";
        {
            SheetStock stock;
            stock.setFirstPlace(5);
            stock.add(label);
        }
        SheetStock kept;
        QCOMPARE(kept.firstPlace(), 5);
        QCOMPARE(kept.nextPlace(), 6);
        QCOMPARE(kept.waiting().size(), 1);
        QCOMPARE(kept.waiting()[0].unit, QString("gate-7"));
        QCOMPARE(kept.waiting()[0].port, QString("/dev/ttyUSB1"));
        kept.printed(24);
        QCOMPARE(SheetStock().nextPlace(), 6);
        kept.setFirstPlace(23);
        kept.add(label);
        kept.printed(24);
        QCOMPARE(SheetStock().nextPlace(), 0);  // the sheet is full: a fresh one
    }

    // A template from a file instead of the form: its values go to the
    // module wherever the manifest gives none.
    void templateFromAFile()
    {
        FormValues form = downloadableForm();
        form.texts[1] = "4321";  // m_pin
        const QString path = m_dir.filePath("sablon.t16");
        QCOMPARE(ContentFile::save(path, form), ContentFile::SaveStatus::Saved);
        ModuleSimulator sim;
        QVERIFY(sim.start());
        QFile manifest(m_dir.filePath("sablon.csv"));
        QVERIFY(manifest.open(QIODevice::WriteOnly) && manifest.write("unit,m_nev\nt1,TEMPLATED\n") > 0);
        manifest.close();
        StationWindow window(downloadableForm(), LinkSettings{}, parseJournalDestination(m_dir.filePath("sablon.sqlite")), DeviceLookup{}, nullptr);
        FileDialog::answerNext(path);
        window.findChild<QPushButton *>("chooseTemplate")->click();
        QCOMPARE(window.findChild<QLabel *>("template")->text(), QString("sablon.t16"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(opens(window, manifest.fileName(), {sim.slavePath()}, m_dir.filePath("sablon-backups")));
        press(window, Qt::Key_F5);
        QCOMPARE(sim.fields()[1].left(4), QByteArray("4321"));
        QCOMPARE(sim.fields()[3].left(9), QByteArray("TEMPLATED"));
    }

    // A journal another program holds: the batch opens beside the window,
    // which says that the journal does not answer, and Escape closes the
    // station; the opening given up leaves no tile behind, and the next one
    // opens once the journal is free.
    void openingWhileTheJournalIsHeld()
    {
        const QString path = m_dir.filePath("held.sqlite");
        { Journal made(parseJournalDestination(path)); }
        QFile manifest(m_dir.filePath("held.csv"));
        QVERIFY(manifest.open(QIODevice::WriteOnly) && manifest.write("unit,m_nev\nh1,A\n") > 0);
        manifest.close();
        StationWindow window(downloadableForm(), LinkSettings{}, parseJournalDestination(path), DeviceLookup{}, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        HeldJournal held(path);
        QVERIFY(held.isHeld());
        QVERIFY(window.open(manifest.fileName(), {"ttyUSB0"}, QString()));
        QVERIFY(window.isOpening());
        auto *counts = window.findChild<QLabel *>("counts");
        QTRY_VERIFY2_WITH_TIMEOUT(counts->text().contains("A napló nem válaszol"), qPrintable(counts->text()), 10000);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isOpening());
        held.release();
        window.show();
        QVERIFY(opens(window, manifest.fileName(), {"ttyUSB0"}, QString()));
        QCOMPARE(window.portCount(), 1);
    }

    // Each batch takes the form as it stands when the batch starts, named
    // on the set-up: a field changed between two batches is what the
    // second batch's modules hold.
    void eachBatchTakesTheFormAsItStands()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        FormValues form = downloadableForm();
        StationWindow window([&form] { return StationTemplate{form, QStringLiteral("kapu.t16*")}; }, LinkSettings{},
                             parseJournalDestination(m_dir.filePath("forms.sqlite")), DeviceLookup{}, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.findChild<QLabel *>("template")->text(), QString("az űrlap: kapu.t16*"));
        const QString input = "be1_nev";
        for (const QString unit : {"f1", "f2"}) {
            QFile manifest(m_dir.filePath(unit + ".csv"));
            QVERIFY(manifest.open(QIODevice::WriteOnly) && manifest.write(("unit,m_nev\n" + unit + ",KAPU\n").toUtf8()) > 0);
            manifest.close();
            QVERIFY(opens(window, manifest.fileName(), {sim.slavePath()}, QString()));
            press(window, Qt::Key_F5);
            QVERIFY2(window.tile(0)->resultText().startsWith("✔ Igazolva"), qPrintable(window.tile(0)->resultText()));
            QCOMPARE(sim.fields()[lineEditIndex(input)].trimmed(), form.texts[lineEditIndex(input)].toLatin1());
            QTest::mouseClick(window.findChild<QPushButton *>("newBatch"), Qt::LeftButton);
            form.texts[lineEditIndex(input)] = "UJ BEMENET";  // changed in the window between the batches
        }
    }

    // A label on a printer: one page of the label stock's size.
    void labelOnAPrinter()
    {
        LabelContent label;
        label.unit = "gate-7";
        label.entry = 12;
        label.recordSha256 = QString(64, 'a');
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("printed.pdf"));
        QVERIFY(printLabel(printer, label, *labelSize("62x29")));
        QProcess info;
        info.start("pdfinfo", {m_dir.filePath("printed.pdf")});
        QVERIFY(info.waitForFinished(30000));
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(text.contains(QRegularExpression("Pages: +1\\n")) && text.contains(QRegularExpression("Page size: +17[56][.0-9]* x 82[.0-9]* pts")),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestStation)
#include "tst_station.moc"
