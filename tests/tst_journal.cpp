#include "windowjob.h"
#include "core/storage/outputfile.h"
#include "filebytes.h"
#include "gui/mainwindow.h"
#include "gui/texts/windowtexts.h"
#include "clirun.h"
#include "core/content/contentfile.h"
#include "gui/dialogs/filedialog.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "fullfolder.h"
#include "core/journal/journal.h"
#include "core/journal/journalreadconnection.h"
#include "gui/journal/journalview.h"
#include "gui/journal/readerthread.h"
#include "gui/station/stationwindow.h"
#include "labelfit.h"
#include "modal.h"
#include "pgserver.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "gui/transfer/dload.h"
#include "windowdownload.h"

#include <QCryptographicHash>
#include <QScopeGuard>
#include <QDateTime>
#include <QPointer>

#include <future>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QScopeGuard>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>

// The provisioning journal, as both fronts keep it and read it back: real
// SQLite files in a folder of the test's own, and a PostgreSQL server the
// test starts itself.
class TestJournal : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString journalFile() const { return m_dir.filePath("journal.sqlite"); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return file.fileName();
    }

    QString contentFile(const QString &name, const QString &moduleName)
    {
        FormValues form = downloadableForm();
        form.texts[3] = moduleName;
        const QString path = m_dir.filePath(name);
        ContentFile::save(path, form);
        return path;
    }


    static QList<JournalEntry> entries(const QString &where, const QString &result = {})
    {
        Journal journal(parseJournalDestination(where), Journal::Mode::Read);
        Journal::Filter filter;
        filter.result = result;
        filter.limit = 0;
        filter.withContent = true;
        return journal.find(filter);
    }


    // A run whose claims last the shortest lease there is: its fence, and
    // so the end of its tries through an outage, come 10 s after a renewal.
    static QProcessEnvironment shortLeases()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TAVIR340_LEASE_SECONDS", "15");
        return environment;
    }

private slots:
    // The one reader of the journal view and the station: a connection that
    // could not open is not kept (the next use opens the journal that is
    // there now), and a reader held in a query is let go at once, and goes
    // with its thread once the query returns.
    void oneReaderForEveryView()
    {
        const QString path = m_dir.filePath("reader.sqlite");  // not made yet
        JournalReadConnection connection(parseJournalDestination(path));
        QVERIFY(!connection.journal().isOpen());
        QVERIFY(Journal(parseJournalDestination(path)).isOpen());
        QVERIFY(connection.journal().isOpen());

        std::promise<void> answer;
        std::shared_future<void> answered = answer.get_future().share();
        std::promise<void> asked;
        QPointer<QObject> reader;
        {
            ReaderThread thread;
            reader = thread.start(new QObject, "held reader");
            QMetaObject::invokeMethod(reader, [answered, &asked] {
                asked.set_value();
                answered.wait();  // a query on a database that hangs
            });
            asked.get_future().wait();
        }  // released without waiting
        QVERIFY(reader);
        answer.set_value();
        QTRY_VERIFY(!reader);
    }

    // Every operation of the command line is in the journal, in the user's
    // state folder by default, with what was sent or read; any entry's
    // content can be written out again as the file it came from.
    void everyOperationOfTheCommandLine()
    {
        const QByteArray ownState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.filePath("state")));
        const QString journal = m_dir.filePath("state/tavir340/journal.sqlite");
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString file = contentFile("kapu.t16", "KAPU");
        QCOMPARE(cli({"download", file, "--port", sim.slavePath(), "--backup", m_dir.filePath("backups")}).code, 0);
        const QString readBack = m_dir.filePath("read.t16");
        QCOMPARE(cli({"readup", "--port", sim.slavePath(), "-o", readBack}).code, 0);
        QCOMPARE(cli({"verify", contentFile("other.t16", "ABLAK"), "--port", sim.slavePath()}).code, 1);
        qputenv("XDG_STATE_HOME", ownState);

        // It holds PINs and telephone numbers: its owner's alone.
        for (const auto &[path, mode] : {std::pair(journal, 0600), std::pair(QFileInfo(journal).path(), 0700)}) {
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, mode_t(mode));
        }

        const QList<JournalEntry> all = entries(journal);
        QStringList operations;
        for (const JournalEntry &e : all)
            operations << e.operation + "/" + e.result + "/" + e.moduleName;
        QCOMPARE(operations, QStringList({"verify/failed/ABLAK", "readup/ok/KAPU", "download/ok/KAPU", "backup/ok/"}));
        const JournalEntry &download = all[2];
        QCOMPARE(download.program, QString("tavir340-cli"));
        QCOMPARE(download.port, sim.slavePath());
        QCOMPARE(download.device, sim.slavePath());
        QCOMPARE(download.file, file);
        QCOMPARE(download.backup, all[3].file);
        QCOMPARE(download.content, fileBytes(file));
        // after the backup's "~{" and the download's "~}"
        QCOMPARE(download.recordSha256, QString(QCryptographicHash::hash(sim.received().mid(4, 748), QCryptographicHash::Sha256).toHex()));
        QCOMPARE(download.result, QString("ok"));
        QCOMPARE(all[1].content, fileBytes(readBack));
        QCOMPARE(all[0].differences.first().name, QString("m_nev"));
        QCOMPARE(all[0].reason, QString("mismatch"));

        const QString again = m_dir.filePath("again.t16");
        QCOMPARE(cli({"journal", "show", QString::number(download.id), "-o", again, "--journal", journal}).code, 0);
        QCOMPARE(fileBytes(again), fileBytes(file));
        const CliRun listed = cli({"journal", "--name", "kap", "--operation", "download", "--journal", journal});
        QCOMPARE(listed.out.count('\n'), 1);
        QVERIFY2(listed.out.contains(QString("#%1  ").arg(download.id)) && listed.out.contains("download  42 KAPU  ok"),
                 qPrintable(listed.out));
    }

    // The journal is the program's own: made 0600 whatever the umask, never
    // through a link, mended to 0600 with a warning, never named relatively.
    void journalIsTheProgramsOwn()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString file = contentFile("own.t16", "@SUM(1+1)*cmd");
        auto modeOf = [](const QString &path) {
            struct stat status {};
            return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
        };
        const QString target = m_dir.filePath("target.sqlite");
        QVERIFY(QFile::link(target, m_dir.filePath("link.sqlite")));  // dangling, then to an empty file
        for (int round = 0; round < 2; ++round) {
            const CliRun linked = cli({"download", file, "--port", sim.slavePath(), "--journal", m_dir.filePath("link.sqlite")});
            QCOMPARE(linked.code, 2);
            QVERIFY2(linked.err.contains("it is a symbolic link; name the journal's own file"), qPrintable(linked.err));
            QCOMPARE(QFileInfo::exists(target), round == 1);
            if (round == 0)
                QVERIFY(QFile(target).open(QIODevice::WriteOnly));
            else
                QCOMPARE(fileBytes(target), QByteArray());
        }
        QVERIFY(QFile::remove(target));
        const mode_t umask = ::umask(0);
        QCOMPARE(cli({"download", file, "--port", sim.slavePath(), "--journal", target}).code, 0);
        ::umask(umask);
        QCOMPARE(modeOf(target), 0600);

        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0644) == 0);
        const CliRun mended = cli({"journal", "--csv", "--journal", target});
        QCOMPARE(mended.code, 0);
        QVERIFY2(mended.err.contains("warning: the journal " + target + " was readable by others (mode 0644); it is now 0600"), qPrintable(mended.err));
        QCOMPARE(modeOf(target), 0600);
        // A spreadsheet shows the module's name; it does not run it.
        QVERIFY2(mended.out.contains(",\"'@SUM(1+1)*cmd\","), qPrintable(mended.out));

        const CliRun relative = cli({"download", file, "--port", sim.slavePath(), "--journal", "j.sqlite"});
        QCOMPARE(relative.code, 2);
        QVERIFY2(relative.err.contains("a journal is named by an absolute path (this one would mean "), qPrintable(relative.err));
        QCOMPARE(sim.downloadsStored(), 1);  // the one into the journal's own file
    }

    // Another program's database, in rollback and WAL mode (its -wal not yet
    // checkpointed, its connection open), with only a view, or with its own
    // user_version: every command that takes --journal leaves its files
    // byte for byte and mode for mode as they were, and writes no module.
    // A -wal that another user put beside a journal to be made stops it too.
    void anotherProgramsDatabaseIsLeftAsItWas_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"rollback", "wal", "wal schema", "view only", "user_version"})
            QTest::newRow(kind) << kind;
        if (::geteuid() == 0)  // only root can give the -wal to another user
            QTest::newRow("foreign -wal") << "foreign -wal";
    }
    void anotherProgramsDatabaseIsLeftAsItWas()
    {
        QFETCH(QString, kind);
        static int n = 0;
        const QString path = m_dir.filePath(QString("other-%1.sqlite").arg(++n));
        const QString connection = QString("other-%1").arg(n);
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        const auto close = qScopeGuard([&] {
            db = {};
            QSqlDatabase::removeDatabase(connection);
        });
        QString why = "it is another program's database, not a journal; it was left as it was";
        if (kind == "foreign -wal") {
            QVERIFY(writeWholeFile(path + "-wal", {}).kind == FileError::Kind::None);
            QVERIFY(::chmod(qPrintable(path + "-wal"), 0666) == 0 && ::chown(qPrintable(path + "-wal"), 65534, 65534) == 0);
            why = path + "-wal beside it is not the journal owner's alone (mode 600); it was not opened";
        } else {
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            // Its schema in its -wal alone: the file itself holds an empty database.
            if (kind == "wal schema")
                QVERIFY(query.exec("PRAGMA journal_mode=WAL") && query.exec("PRAGMA wal_autocheckpoint=0"));
            QVERIFY(query.exec(kind == "view only" ? "CREATE VIEW now AS SELECT 1" : "CREATE TABLE contacts (name TEXT)"));
            if (kind == "user_version")
                QVERIFY(query.exec("PRAGMA user_version = 7"));
            if (kind == "wal") {
                QVERIFY(query.exec("PRAGMA journal_mode=WAL") && query.exec("PRAGMA wal_autocheckpoint=0"));
                QVERIFY(query.exec("INSERT INTO contacts VALUES ('Kovács Péter')"));
            }
            QVERIFY(::chmod(qPrintable(path), 0644) == 0);
        }
        auto files = [&] {
            QStringList seen;
            for (const QString &name : {path, path + "-wal", path + "-shm", path + "-journal"}) {
                struct stat status {};
                if (::lstat(qPrintable(name), &status) == 0)
                    seen << QString("%1 %2 %3 %4").arg(name).arg(status.st_mode, 0, 8).arg(status.st_uid)
                                .arg(QString(QCryptographicHash::hash(fileBytes(name), QCryptographicHash::Sha256).toHex()));
            }
            return seen;
        };
        const QStringList before = files();
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString file = contentFile("other.t16", "KAPU");
        const QString manifest = m_dir.filePath("other.csv");
        QVERIFY(writeWholeFile(manifest, "unit\nu1\n").kind == FileError::Kind::None);
        for (const QStringList &command : {QStringList{"download", file, "--port", sim.slavePath()},
                                           QStringList{"readup", "--port", sim.slavePath(), "-o", m_dir.filePath("other-up.t16")},
                                           QStringList{"verify", file, "--port", sim.slavePath()},
                                           QStringList{"provision", file, "--manifest", manifest, "--port", sim.slavePath()},
                                           QStringList{"journal"}, QStringList{"journal", "init"},
                                           QStringList{"label", "--entry", "1", "-o", m_dir.filePath("other.pdf")}}) {
            const CliRun run = cli(command + QStringList{"--journal", path});
            QVERIFY2(run.code == 2 && run.err.contains(why), qPrintable(command.first() + ": " + run.err));
            QCOMPARE(files(), before);
        }
        QCOMPARE(sim.received(), QByteArray());
    }

    // As root in folders others share: another user's journal file, her
    // folder where the journal would be made, and a folder anyone may write
    // in are refused before anything is written, naming whose they are.
    void anotherUsersJournalIsNotUsed_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("why");
        QTest::newRow("her file") << "her file" << "it belongs to nobody, not to the user running this program";
        QTest::newRow("her folder") << "her folder" << "its folder belongs to nobody";
        QTest::newRow("open folder") << "open folder" << "(it has no sticky bit)";
    }
    void anotherUsersJournalIsNotUsed()
    {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QFETCH(QString, place);
        QFETCH(QString, why);
        const QString shared = m_dir.filePath("shared-" + QString(QTest::currentDataTag()).replace(' ', '-'));
        QVERIFY(QDir().mkpath(shared) && ::chmod(qPrintable(shared), place == "open folder" ? 0777 : 01777) == 0);
        const QString journal = shared + "/tavir340/journal.sqlite";
        QVERIFY(QDir().mkpath(shared + "/tavir340"));
        if (place == "her file") {
            QVERIFY(writeWholeFile(journal, {}, OutputFile::Readers::OwnerOnly).kind == FileError::Kind::None);
            QVERIFY(::chown(qPrintable(journal), 65534, 65534) == 0);
        } else if (place == "her folder") {
            QVERIFY(::chown(qPrintable(shared + "/tavir340"), 65534, 65534) == 0 && ::chmod(qPrintable(shared + "/tavir340"), 0777) == 0);
        } else {
            QVERIFY(QDir().rmdir(shared + "/tavir340"));
        }
        const QString inside = shared + (place == "open folder" ? "/journal.sqlite" : "");
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString file = contentFile("hers.t16", "KAPU");
        qputenv("XDG_STATE_HOME", shared.toUtf8());
        const auto unset = qScopeGuard([] { qunsetenv("XDG_STATE_HOME"); });
        const QStringList journalOption = place == "open folder" ? QStringList{"--journal", inside} : QStringList{};
        const CliRun run = cli(QStringList{"download", file, "--port", sim.slavePath()} + journalOption);
        QVERIFY2(run.code == 2 && run.err.contains(why), qPrintable(run.err));
        QCOMPARE(sim.received(), QByteArray());
        QCOMPARE(QFileInfo(journal).size(), 0);
        QVERIFY(!QFileInfo::exists(journal + "-wal") && !QFileInfo::exists(inside + "-wal"));
    }

    // The window keeps the same journal of its own transfers.
    void everyOperationOfTheWindow()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        MainWindow window;
        window.setJournalLocation(parseJournalDestination(m_dir.filePath("window.sqlite")));
        window.linkSettings().Port = sim.slavePath();
        writeForm(window.centralWidget(), downloadableForm());
        MessageBoxRecorder recorder;
        downloadAndAccept(window);
        window.readup();
        QVERIFY(jobEnds(window));
        window.verify_func();
        QVERIFY(jobEnds(window));
        QStringList operations;
        const QList<JournalEntry> all = entries(m_dir.filePath("window.sqlite"));
        for (const JournalEntry &e : all)
            operations << e.operation + "/" + e.result + "/" + e.reason;
        QCOMPARE(operations, QStringList({"verify/ok/", "readup/ok/", "download/ok/"}));
        QCOMPARE(recorder.boxes.size(), 1);  // the verify's own
        // The verified content came from the read-up, not from a file.
        QCOMPARE(all[0].file, "readup:" + QString::number(all[1].id));
        QCOMPARE(window.findChild<QLabel *>("fileLabel")->text(), QString("No file"));
    }

    // What changed since the last download into this module: the fields
    // marked, and listed then and now.
    void changesSinceTheLastDownload()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        MainWindow window;
        window.setJournalLocation(parseJournalDestination(m_dir.filePath("changes.sqlite")));
        window.linkSettings().Port = sim.slavePath();
        writeForm(window.centralWidget(), downloadableForm());
        MessageBoxRecorder recorder;
        downloadAndAccept(window);
        window.findChild<QLineEdit *>("m_nev")->setText("ABLAK");
        window.form().actionChanges->trigger();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("Változások"));
        QVERIFY2(recorder.boxes[0].text.startsWith("1 mező változott a #1 betöltés óta ("), qPrintable(recorder.boxes[0].text));
        const QString nameChanged = WindowText::changes({{"m_nev", "KAPU", "ABLAK"}});
        QVERIFY2(recorder.boxes[0].text.endsWith("\n\n" + nameChanged), qPrintable(recorder.boxes[0].text));
        QCOMPARE(window.findChild<QLineEdit *>("m_nev")->toolTip(), QString("Legutóbb betöltve: \"KAPU\""));
        window.findChild<QLineEdit *>("m_nev")->setText("KAPU");
        window.form().actionChanges->trigger();
        QVERIFY(jobEnds(window));
        QVERIFY2(recorder.boxes[1].text.startsWith("Nincs változás a #1 betöltés óta"), qPrintable(recorder.boxes[1].text));

        // Two entries chosen in the journal view compare the same way.
        window.findChild<QLineEdit *>("m_nev")->setText("ABLAK");
        downloadAndAccept(window);
        journalView view(parseJournalDestination(m_dir.filePath("changes.sqlite")), &window);
        QTRY_COMPARE(view.matching(), 2);
        auto *compare = view.findChild<QPushButton *>("compare");
        QVERIFY(!compare->isEnabled());
        view.table()->selectAll();
        QVERIFY(compare->isEnabled() && !view.findChild<QPushButton *>("open")->isEnabled());
        compare->click();
        QTRY_COMPARE(recorder.boxes.size(), 3);
        QCOMPARE(recorder.boxes[2].title, QString("Összehasonlítás"));
        QCOMPARE(recorder.boxes[2].text, QString("1 mező különbözik a #1 és a #2 bejegyzés között.\n\n") + nameChanged);

        // A journal that fails part-way (its table gone under it) is named,
        // and no look then says that nothing was downloaded.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "spoiler");
            db.setDatabaseName(m_dir.filePath("changes.sqlite"));
            QVERIFY(db.open() && QSqlQuery(db).exec("ALTER TABLE entries RENAME TO gone"));
        }
        QSqlDatabase::removeDatabase("spoiler");
        for (int look = 0; look < 2; ++look) {
            window.form().actionChanges->trigger();
            QVERIFY(jobEnds(window));
        }
        QCOMPARE(recorder.boxes.size(), 5);
        QCOMPARE(recorder.boxes[3].title, QString("Napló"));
        QCOMPARE(recorder.boxes[4].text, QString("A napló nem olvasható, így nem tudni, mi változott."));
    }

    // A window download is recorded as long as the line took, not as long
    // as its success stayed on the screen (two seconds); marks of a verify go
    // with the content they were about when a journal entry is loaded.
    void windowRecordsTheLinesTime()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        MainWindow window;
        const QString journal = m_dir.filePath("linetime.sqlite");
        window.setJournalLocation(parseJournalDestination(journal));
        window.linkSettings().Port = sim.slavePath();
        writeForm(window.centralWidget(), downloadableForm());
        window.download();  // the success closes itself after two seconds
        QVERIFY(jobEnds(window));
        const qint64 closed = QDateTime::currentMSecsSinceEpoch();
        const QList<JournalEntry> recorded = entries(journal);
        QCOMPARE(recorded.size(), 1);
        QVERIFY2(*recorded[0].endedMs + 2000 <= closed, qPrintable(QString::number(closed - *recorded[0].endedMs)));
    }

    // The same verify failure, once from the window and once from the
    // command line, reads the same in the journal: ids and values, no
    // front's sentence.
    void bothFrontsRecordTheSameFailure()
    {
        SimulatorOptions options;
        FormValues held = downloadableForm();
        held.texts[3] = "ABLAK";
        held.checked[1] = true;
        QList<QByteArray> fields;
        for (const QString &item : recordItems(held))
            fields << item.toLatin1();
        options.scriptedAnswer = ModuleSimulator::uploadAnswer(fields);
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        const QString journal = m_dir.filePath("fronts.sqlite");
        MainWindow window;
        window.setJournalLocation(parseJournalDestination(journal));
        window.linkSettings().Port = sim.slavePath();
        writeForm(window.centralWidget(), downloadableForm());
        MessageBoxRecorder recorder;
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(cli({"verify", contentFile("fronts.t16", "KAPU"), "--port", sim.slavePath(), "--journal", journal}).code, 1);
        QJsonObject shown[2];
        for (int id : {1, 2}) {
            const CliRun show = cli({"journal", "show", QString::number(id), "--json", "--journal", journal});
            QCOMPARE(show.code, 0);
            shown[id - 1] = QJsonDocument::fromJson(show.out.toUtf8()).object();
        }
        QCOMPARE(shown[0]["program"].toString(), QString("tst_journal"));  // the window, in this test program
        QCOMPARE(shown[1]["program"].toString(), QString("tavir340-cli"));
        for (const char *key : {"result", "reason", "message", "differences"})
            QCOMPARE(shown[0][key], shown[1][key]);
        QCOMPARE(shown[0]["reason"].toString(), QString("mismatch"));
        QCOMPARE(shown[0]["differences"].toArray().size(), 2);
        QCOMPARE(shown[0]["differences"][0]["caption"].toString(), QString("Module name"));
    }

    // A download and its verify read alike in the journal whichever front
    // made them: the window, the command line or a station's unit. The
    // fronts differ in what they add (a unit, a file), never in the fields
    // and ids a transfer leaves.
    void everyFrontRecordsTransfersAlike()
    {
        const QString journal = m_dir.filePath("alike.sqlite");
        ModuleSimulator windowModule, cliModule, stationModule;
        QVERIFY(windowModule.start() && cliModule.start() && stationModule.start());
        {
            MainWindow window;
            window.setJournalLocation(parseJournalDestination(journal));
            window.linkSettings().Port = windowModule.slavePath();
            writeForm(window.centralWidget(), downloadableForm());
            MessageBoxRecorder recorder;
            downloadAndAccept(window);
            window.verify_func();
            QVERIFY(jobEnds(window));
        }
        QCOMPARE(cli({"download", contentFile("alike.t16", "KAPU"), "--verify", "--port", cliModule.slavePath(), "--journal", journal}).code, 0);
        {
            StationWindow station(downloadableForm(), LinkSettings{}, parseJournalDestination(journal), DeviceLookup{}, nullptr);
            QVERIFY(station.open(writeFile("alike.csv", "unit,m_nev\nu1,KAPU\n"), {stationModule.slavePath()}, QString()));
            QTRY_COMPARE_WITH_TIMEOUT(station.portCount(), 1, 30000);
            station.startAll();
            QTRY_VERIFY_WITH_TIMEOUT(!station.isBusy(), 30000);
        }
        QHash<QString, QList<QJsonObject>> byOperation;
        for (const JournalEntry &e : entries(journal)) {
            const CliRun show = cli({"journal", "show", QString::number(e.id), "--json", "--journal", journal});
            byOperation[e.operation] << QJsonDocument::fromJson(show.out.toUtf8()).object();
        }
        auto filled = [](const QJsonObject &o) {
            QStringList keys;
            for (auto it = o.begin(); it != o.end(); ++it)
                if (!it.value().isNull() && !QStringList{"unit", "file", "backup"}.contains(it.key()))
                    keys << it.key();
            return keys;
        };
        for (const QString operation : {"download", "verify"}) {
            const QList<QJsonObject> &made = byOperation[operation];
            QCOMPARE(made.size(), 3);
            for (const QJsonObject &entry : made) {
                QCOMPARE(filled(entry), filled(made.first()));
                for (const char *key : {"result", "exitCode", "reason", "message", "bytesSent", "bytesReceived", "recordSha256"})
                    QVERIFY2(entry[key] == made.first()[key], qPrintable(operation + ": " + key + " of " + entry["program"].toString()));
            }
        }
    }

    // A run killed outright in the middle of eight downloads: the journal is
    // whole, holds every download that ended, and marks the others as never
    // finished.
    void killedDuringParallelDownloads()
    {
        const QString journal = m_dir.filePath("killed.sqlite");
        QStringList arguments = {"download", contentFile("killed.t16", "KAPU"), "--quiet", "--journal", journal};
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        for (int i = 0; i < 8; ++i) {
            SimulatorOptions options;
            options.paced = i >= 4;  // four end at once, four take six seconds
            sims.push_back(std::make_unique<ModuleSimulator>(options));
            QVERIFY(sims.back()->start());
            arguments << "--port" << sims.back()->slavePath();
        }
        QProcess process;
        process.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", arguments);
        QTRY_COMPARE_WITH_TIMEOUT(entries(journal, JournalName::Ok).size(), 4, 20000);
        for (int i = 4; i < 8; ++i)
            QTRY_VERIFY(sims[size_t(i)]->received().size() > 20);
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished());

        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
            db.setDatabaseName(journal);
            QVERIFY(db.open());
            QSqlQuery check(db);
            QVERIFY(check.exec("PRAGMA integrity_check") && check.next());
            QCOMPARE(check.value(0).toString(), QString("ok"));
        }
        QSqlDatabase::removeDatabase("check");
        QCOMPARE(entries(journal, JournalName::Ok).size(), 4);
        QCOMPARE(entries(journal, JournalName::Unfinished).size(), 4);
        const CliRun unfinished = cli({"journal", "--result", "unfinished", "--journal", journal});
        QCOMPARE(unfinished.out.count("unfinished: the module's content is unknown"), 4);
    }

    // A journal that will not take entries keeps every byte from the module.
    void refusedBeforeAnyByte_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "missing" << "cannot be made (No such file or directory)";
        QTest::newRow("read-only") << "read-only" << "is read-only";
        QTest::newRow("newer schema") << "newer" << "it was made by a newer program (journal version 6; this program knows version 5)";
    }
    void refusedBeforeAnyByte()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        QString journal = folder.filePath("j.sqlite");
        if (kind == "missing") {
            journal = folder.filePath("none/j.sqlite");
        } else {
            const QByteArray mountPoint = QFile::encodeName(folder.path());
            if (kind == "read-only")
                REQUIRE_ROOT("mounts a read-only tmpfs");
            if (kind == "read-only")
                QCOMPARE(::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=1m"), 0);
            {
                Journal made(parseJournalDestination(journal));
                QVERIFY(made.isOpen());
            }
            if (kind == "newer") {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
                db.setDatabaseName(journal);
                QVERIFY(db.open() && QSqlQuery(db).exec("UPDATE journal_schema SET version = 6"));
                db.close();
            } else {
                QCOMPARE(::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0);
            }
            QSqlDatabase::removeDatabase("newer");
        }
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const CliRun run = cli({"download", contentFile("refused.t16", "KAPU"), "--port", sim.slavePath(), "--journal", journal});
        if (kind == "read-only")
            ::umount2(QFile::encodeName(folder.path()).constData(), MNT_DETACH);
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.contains(QString("the journal %1 takes no entries: %2").arg(journal, reason)), qPrintable(run.err));
        QVERIFY(sim.received().isEmpty());
        QCOMPARE(cli({"download", contentFile("refused.t16", "KAPU"), "--port", sim.slavePath(), "--no-journal"}).code, 0);
    }

    // Two stations at once on one PostgreSQL database lose no entry; the
    // password of an address is never shown.
    void sharedPostgresJournal()
    {
        PostgresServer server;
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        const QString file = contentFile("shared.t16", "KAPU");
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        std::vector<std::unique_ptr<QProcess>> stations;
        for (int station = 0; station < 2; ++station) {
            QStringList arguments = {"download", file, "--quiet", "--journal", server.address()};
            for (int port = 0; port < 3; ++port) {
                sims.push_back(std::make_unique<ModuleSimulator>());
                QVERIFY(sims.back()->start());
                arguments << "--port" << sims.back()->slavePath();
            }
            stations.push_back(std::make_unique<QProcess>());
            stations.back()->start(QCoreApplication::applicationDirPath() + "/tavir340-cli", arguments);
        }
        for (const auto &station : stations) {
            QVERIFY(station->waitForFinished(30000));
            QCOMPARE(station->exitCode(), 0);
        }
        QCOMPARE(entries(server.address(), JournalName::Ok).size(), 6);
        const CliRun csv = cli({"journal", "--csv", "--journal", server.address()});
        QCOMPARE(csv.out.count("\r\n"), 1 + 6);

        const QString secret = server.address("nosuchdatabase").replace("tavir@", "tavir:s3cr3t@");
        const CliRun refused = cli({"readup", "--port", sims.front()->slavePath(), "--journal", secret});
        QCOMPARE(refused.code, 2);
        QVERIFY2(refused.err.contains("cannot be opened") && !refused.err.contains("s3cr3t"), qPrintable(refused.err));

        // The database goes away during a download: the module is written,
        // the run says so, and that its end is not in the journal.
        SimulatorOptions paced;
        paced.paced = true;
        ModuleSimulator slow(paced);
        QVERIFY(slow.start());
        QProcess station;
        station.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                      {"download", file, "--quiet", "--journal", server.address(), "--port", slow.slavePath()});
        QTRY_VERIFY(slow.received().size() > 20);
        server.stop();
        QVERIFY(station.waitForFinished(30000));
        QCOMPARE(station.exitCode(), 5);
        const QString out = QString::fromUtf8(station.readAllStandardOutput());
        QVERIFY2(out.contains(": download: ok, but not recorded in the journal: "), qPrintable(out));
        QCOMPARE(slow.downloadsStored(), 1);
    }

    // A server that takes the connection and never answers is given up
    // after the connect time-out, as a journal that cannot be opened.
    void aSilentServerIsGivenUp()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0 && ::listen(listener, 4) == 0
                && ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        const auto closing = qScopeGuard([listener] { ::close(listener); });
        const QString silent = QString("postgresql://tavir@127.0.0.1:%1/tavir340").arg(ntohs(address.sin_port));
        Journal journal(parseJournalDestination(silent));  // the kernel takes the connection; nobody answers it
        QVERIFY(!journal.isOpen());
        QCOMPARE(journal.problem().error, JournalProblem::Error::CannotOpen);
        QVERIFY2(journal.problem().detail.contains("timeout"), qPrintable(journal.problem().detail));
    }

    // A station on another machine, and a station whose database session is
    // ended and whose server restarts while it writes: the claims hold, the
    // first station reconnects and proves its units, no unit is written
    // twice.
    void claimsSurviveADroppedDatabase()
    {
        // Another host name, in a UTS namespace (inside a user namespace for
        // an ordinary user): only the lease can tell it that a claim lives.
        const QStringList elsewhere = ::geteuid() == 0 ? QStringList{"unshare", "-u", "sh", "-c", "hostname elsewhere && exec \"$@\"", "-"}
                                                       : QStringList{"unshare", "-r", "-u", "sh", "-c", "hostname elsewhere && exec \"$@\"", "-"};
        QProcess probe;
        probe.start(elsewhere.first(), elsewhere.mid(1) + QStringList{"true"});
        if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
            QSKIP(qPrintable("needs a namespace of its own, which is refused here: "
                             + QString::fromLocal8Bit(probe.readAllStandardError()).trimmed()));
        PostgresServer server;
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        const QString manifest = writeFile("dropped.csv", "unit,m_nev\nu1,A\nu2,B\nu3,C\nu4,D\n");
        SimulatorOptions paced;
        paced.paced = true;
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        auto station = [&](const QStringList &prefix) {
            QStringList arguments = prefix + QStringList{QCoreApplication::applicationDirPath() + "/tavir340-cli", "provision",
                                                         contentFile("dropped.t16", "KAPU"), "--manifest", manifest, "--quiet",
                                                         "--journal", server.address()};
            for (int port = 0; port < 2; ++port) {
                sims.push_back(std::make_unique<ModuleSimulator>(paced));
                sims.back()->start();
                arguments << "--port" << sims.back()->slavePath();
            }
            auto process = std::make_unique<QProcess>();
            process->start(arguments.takeFirst(), arguments);
            return process;
        };
        auto here = station({"env"});
        QTRY_VERIFY_WITH_TIMEOUT(sims[0]->received().size() > 20 && sims[1]->received().size() > 20, 10000);
        QVERIFY(server.terminateSessions());
        server.stop();
        QVERIFY(server.start());
        auto there = station(elsewhere);
        for (QProcess *process : {here.get(), there.get()}) {
            QVERIFY(process->waitForFinished(60000));
            QVERIFY2(process->exitCode() == 0 || process->exitCode() == 6, qPrintable(process->readAllStandardError()));
            const QString out = QString::fromUtf8(process->readAllStandardOutput());
            QVERIFY2(out.contains("proven 2, not proven 0, failed 0; done "), qPrintable(out));
        }
        QStringList units;
        for (const JournalEntry &e : entries(server.address(), JournalName::Ok))
            if (e.operation == JournalName::Provision)
                units << e.unit;
        std::sort(units.begin(), units.end());
        QCOMPARE(units, QStringList({"u1", "u2", "u3", "u4"}));
        int written = 0;
        for (const auto &sim : sims)
            written += sim->downloadsStored();
        QCOMPARE(written, 4);
    }

    // The database gone, or the journal's disk full, while two units are
    // being written: neither is counted as provisioned, the run says so
    // (exit 5), and the next run takes exactly those two.
    void aUnitIsProvenOnlyInTheJournal_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("database stopped") << false;
        QTest::newRow("disk full") << true;
    }
    void aUnitIsProvenOnlyInTheJournal()
    {
        QFETCH(bool, diskFull);
        std::unique_ptr<PostgresServer> server;
        std::unique_ptr<FullFolder> disk;
        if (diskFull) {
            REQUIRE_ROOT("mounts a small tmpfs and fills it");
            disk = std::make_unique<FullFolder>("", FullFolder::Fill::Later, "size=1m");
            QVERIFY2(disk->error().isEmpty(), qPrintable(disk->error()));
        } else {
            server = std::make_unique<PostgresServer>();
            QVERIFY2(server->error().isEmpty(), qPrintable(server->error()));
        }
        const QString journal = diskFull ? disk->filePath("journal.sqlite") : server->address();
        const QString manifest = writeFile("unproven.csv", "unit,m_nev\nu1,A\nu2,B\n");
        SimulatorOptions paced;
        paced.paced = true;
        ModuleSimulator first(paced), second(paced);
        QVERIFY(first.start() && second.start());
        const QStringList run = {"provision", contentFile("unproven.t16", "KAPU"), "--manifest", manifest, "--quiet", "--journal", journal};
        QProcess station;
        station.setProcessEnvironment(shortLeases());  // the outage outlasts the fence: its ends cannot wait
        station.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", run + QStringList{"--port", first.slavePath(), "--port", second.slavePath()});
        QTRY_VERIFY_WITH_TIMEOUT(first.received().size() > 20 && second.received().size() > 20, 10000);
        diskFull ? disk->fill() : server->stop();
        QVERIFY(station.waitForFinished(60000));
        const QString out = QString::fromUtf8(station.readAllStandardOutput());
        QCOMPARE(station.exitCode(), 5);
        QVERIFY2(out.contains("provision: not proven: written; ") && out.contains("proven 0, not proven 2, failed 0; done 0, left to do 2 of 2 units"),
                 qPrintable(out));
        if (diskFull)
            disk->drain();
        else
            QVERIFY(server->start());
        ModuleSimulator third, fourth;
        QVERIFY(third.start() && fourth.start());
        const CliRun again = cli(run + QStringList{"--port", third.slavePath(), "--port", fourth.slavePath()});
        QCOMPARE(again.code, 0);
        QVERIFY2(again.out.contains("proven 2, not proven 0, failed 0; done 2, left to do 0 of 2 units"), qPrintable(again.out));
    }

    // The database gone while the backup is read: the backup's end cannot
    // be recorded, so not a byte of the unit goes to the module.
    void noDownloadWithoutALiveClaim()
    {
        PostgresServer server;
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        SimulatorOptions paced;
        paced.paced = true;
        ModuleSimulator sim(paced);
        QVERIFY(sim.start());
        QProcess station;
        station.setProcessEnvironment(shortLeases());
        station.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                      {"provision", contentFile("lost.t16", "KAPU"), "--manifest", writeFile("lost.csv", "unit,m_nev\nu1,A\n"), "--quiet",
                       "--journal", server.address(), "--backup", m_dir.filePath("lostbackups"), "--port", sim.slavePath()});
        QTRY_VERIFY_WITH_TIMEOUT(!sim.received().isEmpty(), 10000);  // the read-up request: 6 s of answer to come
        server.stop();
        QVERIFY(station.waitForFinished(60000));
        const QString out = QString::fromUtf8(station.readAllStandardOutput());
        QCOMPARE(station.exitCode(), 2);
        QVERIFY2(out.contains("provision: not written: backup failed: not recorded in the journal")
                     && out.contains("proven 0, not proven 0, failed 1"), qPrintable(out));
        QCOMPARE(sim.downloadsStored(), 0);
    }

    // The recipe for several stations, run from its own .sql files: the
    // stations' restricted role claims, renews, writes and proves units, and
    // may not do more (make tables, change what a run wrote).
    void thePostgresRecipeWorks()
    {
        PostgresServer server;
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        QStringList scripts;
        for (const char *name : {"journal-database.sql", "journal-grants.sql"}) {
            QFile sql(QStringLiteral(TAVIR340_DOCS "/") + name);
            QVERIFY2(sql.open(QIODevice::ReadOnly), name);
            scripts << QString::fromUtf8(sql.readAll());
        }
        QVERIFY(server.script("DROP DATABASE tavir340", "tavir", "postgres"));
        QVERIFY(server.script(scripts[0].toUtf8(), "tavir", "postgres"));
        QCOMPARE(cli({"journal", "init", "--journal", server.address().replace("tavir@", "tavir340_admin@")}).code, 0);
        QVERIFY(server.script(scripts[1].toUtf8(), "tavir340_admin", "tavir340"));

        const QString station = server.address().replace("tavir@", "tavir340@");
        ModuleSimulator first, second;
        QVERIFY(first.start() && second.start());
        const CliRun run = cli({"provision", contentFile("recipe.t16", "KAPU"), "--manifest", writeFile("recipe.csv", "unit,m_nev\nu1,A\nu2,B\n"),
                                "--quiet", "--journal", station, "--port", first.slavePath(), "--port", second.slavePath()});
        QVERIFY2(run.code == 0 && run.out.contains("proven 2, not proven 0, failed 0"), qPrintable(run.out + run.err));
        QVERIFY(!server.script("UPDATE entries SET started_at = 0", "tavir340", "tavir340"));
        QVERIFY(!server.script("CREATE TABLE other (x INT)", "tavir340", "tavir340"));

        // What the stations' role may not do, whatever SQL it types: each
        // refused by the journal's own rules, and the journal as it was.
        const QByteArray now = "(EXTRACT(EPOCH FROM clock_timestamp()) * 1000)::BIGINT";
        const QByteArray open = "INSERT INTO entries (started_at, station, user_name, program, version, pid, operation, unit, port)"
                                " VALUES (0, 's', 'u', 'p', 'v', 1, 'provision', 'u9', 'p');";
        const QByteArray claim = "INSERT INTO claims VALUES ('u9', 's', 1, 'x', 'b', 0, " + now + " + 10000,"
                                 " (SELECT max(id) FROM entries WHERE unit = 'u9'));";
        QVERIFY(server.script(open + claim, "tavir340", "tavir340"));  // as a run takes a unit
        const QByteArray before = server.query("SELECT string_agg(concat_ws('|', id, result, ended_at, message), ';' ORDER BY id)"
                                               " FROM entries", "tavir340");
        for (const QByteArray &rewrite : {
                 QByteArray("UPDATE entries SET result = 'failed' WHERE operation = 'provision' AND unit = 'u1'"),
                 QByteArray("UPDATE entries SET message = 'x' WHERE result IS NOT NULL"),
                 QByteArray("INSERT INTO entries (started_at, ended_at, station, user_name, program, version, pid, operation, unit,"
                            " port, result) VALUES (0, 0, 's', 'u', 'p', 'v', 1, 'provision', 'u8', 'p', 'ok')"),
                 QByteArray("UPDATE entries SET result = 'ok', ended_at = 1 WHERE unit = 'u9'"),
                 "UPDATE claims SET lease_until = " + now + " + 100000000 WHERE unit = 'u9'",
                 QByteArray("UPDATE claims SET lease_until = 0 WHERE unit = 'u9'"),
                 QByteArray("DELETE FROM claims WHERE unit = 'u9'"),
                 "INSERT INTO claims VALUES ('u1', 's', 1, 'x', 'b', 0, " + now + " + 10000,"
                 " (SELECT max(id) FROM entries WHERE unit = 'u1'))",
                 QByteArray("CREATE TEMP TABLE entries (id BIGINT, unit TEXT, operation TEXT, result TEXT);"
                            " INSERT INTO entries VALUES (999999, 'u9', 'download', 'ok'), (999999, 'u9', 'verify', 'ok');"
                            " UPDATE public.entries SET result = 'ok', ended_at = 1 WHERE unit = 'u9'"),
                 QByteArray("DROP TRIGGER tavir340_claims_rule ON claims")}) {
            QVERIFY2(!server.script(rewrite, "tavir340", "tavir340"), rewrite.constData());
        }
        QCOMPARE(server.query("SELECT string_agg(concat_ws('|', id, result, ended_at, message), ';' ORDER BY id) FROM entries",
                              "tavir340"), before);
        QCOMPARE(server.query("SELECT count(*) FROM claims WHERE unit = 'u9' AND lease_until > 0", "tavir340"), QByteArray("1"));
        // The owner's init checks the rules and makes them again where they are gone.
        QVERIFY(server.script("DROP TRIGGER tavir340_claims_rule ON claims", "tavir340_admin", "tavir340"));
        QCOMPARE(cli({"journal", "init", "--journal", server.address().replace("tavir@", "tavir340_admin@")}).code, 0);
        QVERIFY(!server.script("DELETE FROM claims WHERE unit = 'u9'", "tavir340", "tavir340"));
    }

    // A second station whose clock is minutes ahead or behind (faketime)
    // takes no live claim: leases are judged on the database server's clock,
    // or on the machine's boot clock for SQLite.
    void aSkewedClockTakesNoLiveClaim_data()
    {
        QTest::addColumn<bool>("postgres");
        QTest::addColumn<QString>("skew");
        QTest::newRow("SQLite, 2 minutes ahead") << false << "+120s";
        QTest::newRow("SQLite, 2 minutes behind") << false << "-120s";
        QTest::newRow("PostgreSQL, 2 minutes ahead") << true << "+120s";
        QTest::newRow("PostgreSQL, 2 minutes behind") << true << "-120s";
    }
    void aSkewedClockTakesNoLiveClaim()
    {
        QFETCH(bool, postgres);
        QFETCH(QString, skew);
        if (QStandardPaths::findExecutable("faketime").isEmpty())
            QSKIP("faketime is not installed (Debian's faketime package)");
        std::unique_ptr<PostgresServer> server;
        if (postgres) {
            server = std::make_unique<PostgresServer>();
            QVERIFY2(server->error().isEmpty(), qPrintable(server->error()));
        }
        const QString journal = postgres ? server->address() : m_dir.filePath("skew-" + skew + ".sqlite");
        const QStringList run = {QCoreApplication::applicationDirPath() + "/tavir340-cli", "provision", contentFile("skew.t16", "KAPU"),
                                 "--manifest", writeFile("skew.csv", "unit,m_nev\nu1,A\n"), "--quiet", "--journal", journal, "--port"};
        SimulatorOptions paced;
        paced.paced = true;
        ModuleSimulator first(paced), second;
        QVERIFY(first.start() && second.start());
        QProcess holder;
        holder.start(run.first(), run.mid(1) + QStringList{first.slavePath()});
        QTRY_VERIFY_WITH_TIMEOUT(first.received().size() > 20, 20000);
        QProcess skewed;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // faketime preloads its library, which a sanitizer build would refuse.
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        skewed.setProcessEnvironment(environment);
        skewed.start("faketime", QStringList{"-f", skew} + run + QStringList{second.slavePath()});
        QVERIFY(skewed.waitForFinished(30000));
        const QString out = QString::fromUtf8(skewed.readAllStandardOutput());
        QVERIFY2(skewed.exitCode() == 6 && out.contains("u1 claimed by"), qPrintable(out + skewed.readAllStandardError()));
        QVERIFY(second.received().isEmpty());
        holder.kill();
        holder.waitForFinished();
    }

    // Two stations provisioning from one manifest into one database at once
    // never take the same unit.
    void stationsNeverTakeTheSameUnit()
    {
        PostgresServer server;
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        const QString manifest = m_dir.filePath("units.csv");
        QFile csv(manifest);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("unit,m_nev\nu1,A\nu2,B\nu3,C\nu4,D\n");
        csv.close();
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        std::vector<std::unique_ptr<QProcess>> stations;
        for (int station = 0; station < 2; ++station) {
            QStringList arguments = {"provision", contentFile("station.t16", "KAPU"), "--manifest", manifest, "--quiet",
                                     "--journal", server.address()};
            for (int port = 0; port < 2; ++port) {
                sims.push_back(std::make_unique<ModuleSimulator>());
                QVERIFY(sims.back()->start());
                arguments << "--port" << sims.back()->slavePath();
            }
            stations.push_back(std::make_unique<QProcess>());
            stations.back()->start(QCoreApplication::applicationDirPath() + "/tavir340-cli", arguments);
        }
        // A station that ends while the other still works has units left (6).
        for (const auto &station : stations)
            QVERIFY(station->waitForFinished(30000) && (station->exitCode() == 0 || station->exitCode() == 6));
        QStringList units;
        for (const JournalEntry &e : entries(server.address(), JournalName::Ok))
            if (e.operation == JournalName::Provision)
                units << e.unit;
        std::sort(units.begin(), units.end());
        QCOMPARE(units, QStringList({"u1", "u2", "u3", "u4"}));
    }

    // A journal that cannot be had is named once; the window goes on.
    void windowSaysOnceWhenThereIsNoJournal()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        MainWindow window;
        window.setJournalLocation(parseJournalDestination(m_dir.filePath("none/j.sqlite")));
        window.linkSettings().Port = sim.slavePath();
        writeForm(window.centralWidget(), downloadableForm());
        MessageBoxRecorder recorder;
        downloadAndAccept(window);
        downloadAndAccept(window);
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("Napló"));
        const JournalProblem cannotCreate{JournalProblem::Error::CannotCreate, "No such file or directory"};
        QCOMPARE(recorder.boxes[0].text, WindowText::journalUnavailable(m_dir.filePath("none/j.sqlite"), cannotCreate));
        QCOMPARE(sim.downloadsStored(), 2);
    }

    // Eszköz → Napló: an entry's content goes back into the form, after a
    // question when the form holds changes not saved; the entries shown go
    // out as CSV.
    void journalWindowGivesBackAnEntry()
    {
        const QString journal = m_dir.filePath("view.sqlite");
        ModuleSimulator sim;
        QVERIFY(sim.start());
        QCOMPARE(cli({"download", contentFile("view.t16", "KAPU"), "--port", sim.slavePath(), "--journal", journal}).code, 0);
        QCOMPARE(cli({"download", contentFile("view2.t16", "ABLAK"), "--port", sim.slavePath(), "--journal", journal}).code, 0);

        MainWindow window;
        window.setJournalLocation(parseJournalDestination(journal));
        formLineEdits(window.centralWidget())[3]->setText("UNSAVED");
        const QString csv = m_dir.filePath("export");
        QStringList questions;
        QStringList clipped;
        QString status;
        ModalDriver driver([&](QWidget *modal) {
            if (auto *view = qobject_cast<journalView *>(modal)) {
                auto *filter = view->findChild<QLineEdit *>("filter");
                if (filter->text().isEmpty())
                    QTest::keyClicks(filter, "kap");
                if (view->table()->rowCount() != 1 || view->matching() != 1)
                    return false;  // the search runs beside the window
                clipped = clippedLabels(view);
                status = view->findChild<QLabel *>("status")->text();
                FileDialog::answerNext(csv);
                view->findChild<QPushButton *>("export")->click();
                QTest::keyClick(filter, Qt::Key_Return);  // the first row is chosen
                return true;
            }
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                questions << box->text();
                box->button(QMessageBox::Discard)->click();
                return true;
            }
            return false;
        });
        window.findChild<QAction *>("actionJournal")->trigger();
        QVERIFY(jobEnds(window));
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("; ")));
        QCOMPARE(status, QString("1 / 1 bejegyzés"));
        QCOMPARE(questions, QStringList({"Az űrlap változásai nincsenek sem fájlba mentve, sem modulba letöltve.\n"
                                         "Amit letöltött, azt a napló megőrzi; ezeket a változásokat nem.\nMenti őket?"}));
        QCOMPARE(readForm(window.centralWidget()), ContentFile::load(m_dir.filePath("view.t16"), initialFormValues()).values);
        const QByteArray exported = fileBytes(csv + ".csv");
        QVERIFY(exported.startsWith("entry,started,ended,station,"));
        QCOMPARE(exported.count("\r\n"), 2);
    }

    // More entries than a page: the count says how many match, scrolling
    // brings the next page, typing narrows the search, and an export holds
    // every matching entry once.
    void journalViewHoldsMoreThanAPage()
    {
        const QString location = m_dir.filePath("many.sqlite");
        Journal journal(parseJournalDestination(location));
        QVERIFY(journal.startBatch());
        for (int i = 0; i < 2500; ++i) {
            JournalEntry e = startEntry(JournalName::Download, "ttyUSB0");  // many in one millisecond: ids tell them apart
            e.moduleName = i % 2 ? "KAPU" : "ABLAK";
            e.id = journal.begin(e);
            e.result = JournalName::Ok;
            e.endedMs = e.startedMs;
            journal.complete(e);
        }
        QVERIFY(journal.endBatch(true));
        QWidget parent;
        journalView view(journal.location(), &parent);
        auto *status = view.findChild<QLabel *>("status");
        QTRY_COMPARE(view.matching(), 2500);
        QCOMPARE(view.table()->rowCount(), 500);
        QCOMPARE(status->text(), QString("500 / %1 bejegyzés").arg(QLocale().toString(2500)));
        QVERIFY(view.table()->selectionModel()->isRowSelected(0, {}));
        QVERIFY(view.findChild<QPushButton *>("open")->isEnabled());
        view.show();
        view.table()->scrollToBottom();
        QTRY_COMPARE(view.table()->rowCount(), 1000);

        const QString csv = m_dir.filePath("many.csv");
        FileDialog::answerNext(csv);
        view.findChild<QPushButton *>("export")->click();
        QTRY_COMPARE(status->text(), QString("%1 bejegyzés exportálva: %2").arg(QLocale().toString(2500), csv));
        QStringList ids;
        for (const QByteArray &line : fileBytes(csv).split('\n').mid(1))
            if (!line.isEmpty())
                ids << QString::fromUtf8(line.left(line.indexOf(',')));
        QCOMPARE(ids.size(), 2500);
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 2500);
        QCOMPARE(status->text(), QString("%1 bejegyzés exportálva: %2").arg(QLocale().toString(2500), csv));

        QTest::keyClicks(view.findChild<QLineEdit *>("filter"), "kap");
        QTRY_COMPARE(view.matching(), 1250);
        QCOMPARE(view.table()->item(0, 5)->text(), QString("KAPU"));
    }

    // An export that the disk cannot take says so and leaves no file.
    void journalExportToAFullDisk()
    {
        REQUIRE_ROOT("mounts a small tmpfs and fills it");
        FullFolder full("kept");
        QVERIFY2(full.error().isEmpty(), qPrintable(full.error()));
        const QString location = m_dir.filePath("export.sqlite");
        ModuleSimulator sim;
        QVERIFY(sim.start());
        QCOMPARE(cli({"download", contentFile("export.t16", "KAPU"), "--port", sim.slavePath(), "--journal", location}).code, 0);
        Journal journal(parseJournalDestination(location));
        QWidget parent;
        journalView view(journal.location(), &parent);
        QTRY_VERIFY(view.findChild<QPushButton *>("export")->isEnabled());  // the first page is in
        MessageBoxRecorder recorder;
        FileDialog::answerNext(full.filePath("export"));
        view.findChild<QPushButton *>("export")->click();
        QTRY_COMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("A fájl nem írható: %1\nNo space left on device").arg(full.filePath("export.csv")));
        QVERIFY(!QFileInfo::exists(full.filePath("export.csv")));
        QCOMPARE(full.kept(), QByteArray("kept"));
    }
};

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
