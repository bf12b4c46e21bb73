#include "clirun.h"
#include "core/content/contentfile.h"
#include "filebytes.h"
#include "core/journal/journal.h"
#include "core/journal/journalclock.h"
#include "core/journal/journalreason.h"
#include "core/process/processidentity.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

// tavir340-cli provision against simulated modules: which units a run
// takes, and what it says of each; and one table of refusals run through
// check, set and download alike.
class TestProvision : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

    QString templateFile()
    {
        const QString path = m_dir.filePath("template.t16");
        ContentFile::save(path, downloadableForm());
        return path;
    }

    static std::vector<std::unique_ptr<ModuleSimulator>> modules(int count, const SimulatorOptions &options = {})
    {
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        for (int i = 0; i < count; ++i) {
            sims.push_back(std::make_unique<ModuleSimulator>(options));
            sims.back()->start();
        }
        return sims;
    }

    static QStringList portOptions(const std::vector<std::unique_ptr<ModuleSimulator>> &sims)
    {
        QStringList options;
        for (const auto &sim : sims)
            options << "--port" << sim->slavePath();
        return options;
    }

    // Stopped where it holds no lock on the journal: a run frozen inside a
    // transaction would hold the SQLite journal's lock, which no real hang
    // is tested by. Another process that writes the journal says whether it
    // is free.
    static void freezeOutsideTheJournal(QProcess &run, const QString &journal)
    {
        for (;;) {
            ::kill(pid_t(run.processId()), SIGSTOP);
            QProcess writer;
            writer.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", {"journal", "init", "--journal", journal});
            if (writer.waitForFinished(30000) && writer.exitCode() == 0)
                return;
            ::kill(pid_t(run.processId()), SIGCONT);
            QTest::qWait(20);
        }
    }

    // One run to be frozen at its stage: its own journal, module and labels.
    struct FrozenRun
    {
        QString during;
        int code = 0;
        QString journal;
        QString labels;
        std::vector<std::unique_ptr<ModuleSimulator>> mine;
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        std::unique_ptr<QProcess> other = std::make_unique<QProcess>();
        bool frozen = false;

        bool atItsStage() const
        {
            const QByteArray sent = mine.front()->received();
            if (during == "backup")
                return sent.size() >= 2;
            if (during == "download")
                return sent.size() > 20;
            return mine.front()->downloadsStored() == 1 && sent.lastIndexOf('~') > 0 && sent.size() > sent.lastIndexOf('~') + 1;
        }
    };

    // Freezes every run that has reached its stage; true once all are frozen.
    static bool freezeAtTheirStages(std::vector<FrozenRun> &runs)
    {
        bool all = true;
        for (FrozenRun &run : runs) {
            if (!run.frozen && run.atItsStage()) {
                freezeOutsideTheJournal(*run.process, run.journal);
                run.frozen = true;
            }
            all = all && run.frozen;
        }
        return all;
    }

    QStringList frozenRunOptions(const FrozenRun &run, const QString &manifest)
    {
        return {"provision", templateFile(), "--manifest", manifest, "--journal", run.journal, "--quiet", "--labels", run.labels};
    }

    // provision over two ports, with the shim filling the journal's disk at
    // its `failAt`-th commit (0: never), started and left running; finish()
    // waits for it and reads how many commits it made.
    struct FailingRun
    {
        std::vector<std::unique_ptr<ModuleSimulator>> sims = modules(2);
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        QString countFile;

        CliRun finish(long *commits = nullptr)
        {
            process->waitForFinished(60000);
            if (commits)
                *commits = QString::fromLatin1(fileBytes(countFile)).trimmed().toLong();
            return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                    QString::fromUtf8(process->readAllStandardOutput()), QString::fromUtf8(process->readAllStandardError())};
        }
    };
    FailingRun provisionFailingAt(const QString &journal, const QString &manifest, long failAt)
    {
        FailingRun run;
        run.countFile = journal + ".commits";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", FAILWRITE_LIBRARY);
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        environment.insert("TAVIR340_FAIL_PATH", journal);
        environment.insert("TAVIR340_FAIL_COMMIT", failAt ? QString::number(failAt) : QString());
        environment.insert("TAVIR340_FAIL_COUNT", run.countFile);
        run.process->setProcessEnvironment(environment);
        run.process->start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                           QStringList{"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet"}
                               + portOptions(run.sims));
        return run;
    }

    // How many proofs of each unit the journal holds (each keeping exit code 0).
    static QHash<QString, int> proofs(const QString &journal)
    {
        QHash<QString, int> units;
        Journal read(parseJournalDestination(journal), Journal::Mode::Read);
        Journal::Filter filter;
        filter.operation = JournalName::Provision;
        filter.result = JournalName::Ok;
        filter.limit = 0;
        for (const JournalEntry &e : read.find(filter))
            units[e.unit] += e.exitCode == 0 ? 1 : 100;
        return units;
    }

    static int provisionedIn(const QString &out)
    {
        const QRegularExpressionMatch counted = QRegularExpression("proven (\\d+),").match(out);
        return counted.hasMatch() ? counted.captured(1).toInt() : 0;
    }

private slots:
    // A separator inside a field, with --separator '#': every path refuses
    // before a byte, naming the field (and the manifest's row).
    void separatorInsideAFieldOnEveryPath_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("named");
        QTest::newRow("check") << QStringList{"check", "FILE"} << "be1_nev (Name of input 1): holds the separator #";
        QTest::newRow("download") << QStringList{"download", "FILE", "--port", "PORT"} << "be1_nev (Name of input 1): holds the separator #";
        QTest::newRow("download dry run") << QStringList{"download", "FILE", "--port", "PORT", "--dry-run"} << "holds the separator #";
        QTest::newRow("set") << QStringList{"set", "TEMPLATE", "be1_nev=A#B", "-o", "OUT"} << "be1_nev=A#B: holds the separator #";
        QTest::newRow("provision") << QStringList{"provision", "TEMPLATE", "--manifest", "CSV", "--port", "PORT", "--again"}
                                   << "row 2, column be1_nev: holds the separator #";
        QTest::newRow("provision dry run") << QStringList{"provision", "TEMPLATE", "--manifest", "CSV", "--port", "PORT", "--dry-run"}
                                           << "row 2, column be1_nev: holds the separator #";
    }
    void separatorInsideAFieldOnEveryPath()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, named);
        FormValues form = downloadableForm();
        form.texts[lineEditIndex("be1_nev")] = "A#B";
        const QString file = m_dir.filePath("hash.t16");
        QCOMPARE(ContentFile::save(file, form), ContentFile::SaveStatus::Saved);
        ModuleSimulator sim;
        QVERIFY(sim.start());
        command.replaceInStrings(QRegularExpression("^FILE$"), file);
        command.replaceInStrings(QRegularExpression("^TEMPLATE$"), templateFile());
        command.replaceInStrings(QRegularExpression("^CSV$"), write("hash.csv", "unit,be1_nev\nA,A#B\n"));
        command.replaceInStrings(QRegularExpression("^PORT$"), sim.slavePath());
        command.replaceInStrings(QRegularExpression("^OUT$"), m_dir.filePath("out.t16"));
        const CliRun run = cli(command + QStringList{"--separator", "#"});
        QCOMPARE(run.code, 2);
        QVERIFY2((run.out + run.err).contains(named), qPrintable(run.out + run.err));
        QVERIFY(sim.received().isEmpty());
    }

    // A "|" is text to the module when the separator is another: what a
    // download writes, verify proves and read-up gives back as it was.
    void aBarInAFieldReadsBackAsItself()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString file = m_dir.filePath("bar.t16");
        QCOMPARE(cli({"set", templateFile(), "m_nev=A|B", "-o", file, "--separator", "#"}).code, 0);
        for (const char *command : {"download", "verify"})
            QCOMPARE(cli({command, file, "--port", sim.slavePath(), "--separator", "#", "--quiet"}).code, 0);
        const CliRun read = cli({"readup", "--port", sim.slavePath(), "-o", m_dir.filePath("back.t16"), "--quiet"});
        QCOMPARE(read.code, 0);
        QCOMPARE(cli({"get", m_dir.filePath("back.t16"), "m_nev"}).out, QString("A|B\n"));
    }

    // Link settings other than the defaults on every path: what is written
    // with them is proven with them, and a real difference is named.
    void otherLinkSettingsAreProven()
    {
        SimulatorOptions options;
        options.ackReply = "AK";
        options.uploadCommand = '[';
        const auto sims = modules(1, options);
        const QString port = sims.front()->slavePath();
        const QStringList link = {"--separator", "#", "--ack", "K", "--upload-command", "[", "--port", port, "--no-journal"};
        QCOMPARE(cli(QStringList{"download", templateFile()} + link).code, 0);
        QCOMPARE(cli(QStringList{"verify", templateFile()} + link).code, 0);
        const QString manifest = write("link.csv", "unit,m_nev\nsite,KAPU 7\n");
        const CliRun provisioned = cli(QStringList{"provision", templateFile(), "--manifest", manifest, "--unit", "site"} + link);
        QCOMPARE(provisioned.code, 0);
        const CliRun stale = cli(QStringList{"verify", templateFile(), "--json"} + link);
        QCOMPARE(stale.code, 1);
        QVERIFY2(stale.out.contains(R"({"caption":"Module name","expected":"KAPU","field":"m_nev","found":"KAPU 7"})"), qPrintable(stale.out));
    }

    // Eight units, four modules at a time: the first run takes four, the
    // second the other four, a third finds nothing to do.
    void eachRunTakesWhatIsLeft()
    {
        QByteArray csv = "unit,m_nev,m_id,t1\n";
        for (int u = 1; u <= 8; ++u)
            csv += QStringLiteral("site%1,KAPU %1,00%1,3620%1\n").arg(u).toUtf8();
        const QString manifest = write("eight.csv", csv);
        const QString journal = m_dir.filePath("eight.sqlite");
        const QStringList run = {"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet",
                                 "--backup", m_dir.filePath("backups")};
        QStringList taken;
        const struct { const char *summary; int code; } runs[] = {
            {"proven 4, not proven 0, failed 0; done 4, left to do 4 of 8 units", 6},
            {"proven 4, not proven 0, failed 0; done 8, left to do 0 of 8 units", 0},
            {"proven 0, not proven 0, failed 0; done 8, left to do 0 of 8 units", 0}};
        for (const auto &[summary, code] : runs) {
            const auto sims = modules(4);
            const CliRun result = cli(run + portOptions(sims));
            QCOMPARE(result.code, code);
            QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.takeLast(), QString(summary));
            for (const QString &line : lines)
                taken << line.section(':', 0, 0);
        }
        taken.removeIf([](const QString &name) { return name.startsWith("/dev"); });  // "no unit left for this port"
        std::sort(taken.begin(), taken.end());
        QCOMPARE(taken, QStringList({"site1", "site2", "site3", "site4", "site5", "site6", "site7", "site8"}));

        Journal read(parseJournalDestination(journal), Journal::Mode::Read);
        Journal::Filter filter;
        filter.unit = "site3";
        filter.limit = 0;
        QStringList steps;
        for (const JournalEntry &e : read.find(filter))
            steps.prepend(e.operation + "/" + e.result);
        QCOMPARE(steps, QStringList({"provision/ok", "backup/ok", "download/ok", "verify/ok"}));
        const QStringList backups = QDir(m_dir.filePath("backups")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 8);
        QVERIFY2(QRegularExpression("^site3-\\d+\\.t16$").match(backups.filter("site3").value(0)).hasMatch(), qPrintable(backups.join(' ')));
    }

    // A journal of the last version keeps its units done: read as it stands,
    // and after this program has brought it up to date.
    void anOlderJournalKeepsItsUnitsDone()
    {
        const QString journal = m_dir.filePath("older.sqlite");
        const QString manifest = write("older.csv", "unit,m_nev\nu1,A\nu2,B\n");
        const QStringList run = {"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet"};
        QCOMPARE(cli(run + portOptions(modules(1))).code, 6);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
            db.setDatabaseName(journal);
            QSqlQuery query(db);
            QVERIFY(db.open() && query.exec("ALTER TABLE entries DROP COLUMN content_sha256")
                    && query.exec("UPDATE journal_schema SET version = 3"));
        }
        QSqlDatabase::removeDatabase("older");
        const QStringList status = {"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--status"};
        const CliRun older = cli(status);
        QVERIFY2(older.out.startsWith("u1  done  "), qPrintable(older.out + older.err));
        const auto sims = modules(1);
        const CliRun again = cli(run + portOptions(sims));
        QVERIFY2(again.out.endsWith("proven 1, not proven 0, failed 0; done 2, left to do 0 of 2 units\n"), qPrintable(again.out));
        QVERIFY2(cli(status).out.startsWith("u1  done  "), "brought up to date");
        QCOMPARE(sims.front()->downloadsStored(), 1);  // u2 alone
    }

    // A module that keeps other content is named with the field and stays to
    // do; one that does not answer its first request is tried again.
    void failuresAndRetries()
    {
        SimulatorOptions stubborn;
        stubborn.scriptedAnswer = ModuleSimulator::uploadAnswer(QList<QByteArray>(44, "X"));
        SimulatorOptions asleep;
        asleep.silentRequests = 1;  // the download request goes unheard once
        ModuleSimulator wrong(stubborn), late(asleep);
        QVERIFY(wrong.start() && late.start());
        const QString manifest = write("two.csv", QStringLiteral("unit,port,m_nev\nwrong,%1,KAPU\nlate,%2,KAPU\n")
                                                      .arg(wrong.slavePath(), late.slavePath()).toUtf8());
        const CliRun run = cli({"provision", templateFile(), "--manifest", manifest, "--journal", m_dir.filePath("two.sqlite"),
                                "--retries", "1", "--quiet", "--port", wrong.slavePath(), "--port", late.slavePath()});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.contains(QString("wrong: %1: provision: failed: verify: the module holds another configuration").arg(wrong.slavePath())),
                 qPrintable(run.out));
        QVERIFY(run.out.contains("  m_nev (Module name): file \"KAPU\", module \"X\""));
        QVERIFY2(run.out.contains(QString("late: %1: provision: proven").arg(late.slavePath())), qPrintable(run.out));
        QCOMPARE(late.downloadsStored(), 1);
        QVERIFY2(run.out.endsWith("proven 1, not proven 0, failed 1; done 1, left to do 1 of 2 units\n"), qPrintable(run.out));
    }

    // Unit names that would be unsafe in a file name or on a command line,
    // or that make the same file name as another row's, are refused by row.
    void unsafeUnitNames_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("named");
        QTest::newRow("a/b beside a_b") << QByteArray("unit\na_b\na/b\n") << "row 3, column unit: the same file name as the unit of row 2";
        QTest::newRow("NUL") << QByteArray("unit\na\0b\n", 9) << "row 2, column unit: the unit's name holds a control character";
        QTest::newRow("newline") << QByteArray("unit\n\"a\nb\"\n") << "row 2, column unit: the unit's name holds a control character";
        QTest::newRow("300 characters") << "unit\n" + QByteArray(300, 'u') + "\n" << "row 2, column unit: a unit's name takes at most 64 characters";
        QTest::newRow("Latin-1 bytes") << QByteArray("unit\nkapu\xe9\n") << "row 2, column unit: the unit's name holds bytes that are not UTF-8";
        QTest::newRow("leading dash") << QByteArray("unit\n-rf\n") << "row 2, column unit: a unit's name may not start with - or .";
    }
    void unsafeUnitNames()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, named);
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString manifest = write("names.csv", csv);
        const CliRun run = cli({"provision", templateFile(), "--manifest", manifest, "--port", sim.slavePath(), "--dry-run"});
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.contains(manifest + ": " + named), qPrintable(run.err));
        QVERIFY(sim.received().isEmpty());
    }

    // A claim that a run left behind holds the unit only while it can be
    // alive: a killed process's claim on this machine is free at once,
    // another station's once its lease ran out; a live one is released only
    // by force, saying whose it was.
    void claimsOutliveNoRun()
    {
        const QString journal = m_dir.filePath("claims.sqlite");
        QCOMPARE(cli({"journal", "init", "--journal", journal}).code, 0);
        const QString manifest = write("claims.csv", "unit,m_nev\ngone,A\nlive,B\nexpired,C\n");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "claims");
            db.setDatabaseName(journal);
            QVERIFY(db.open());
            // A SQLite journal's leases run on the machine's boot clock.
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const qint64 boot = bootClockMs();
            const ProcessIdentity self = ProcessIdentity::self();
            // pid 1 runs, but did not start at tick 0: the claimant is gone.
            const struct { const char *unit; QString station; qint64 pid; QString start; qint64 lease; } rows[] = {
                {"gone", self.station, 1, "0", boot + 60000},
                {"live", "elsewhere", 4711, "99", boot + 60000},
                {"expired", "elsewhere", 4712, "99", boot - 1}};
            for (const auto &row : rows) {
                QSqlQuery insert(db);
                insert.prepare("INSERT INTO claims VALUES (?, ?, ?, ?, ?, ?, ?, 1)");
                for (const QVariant &value : {QVariant(row.unit), QVariant(row.station), QVariant(row.pid), QVariant(row.start),
                                              QVariant(self.bootId), QVariant(now - 1000), QVariant(row.lease)})
                    insert.addBindValue(value);
                QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
            }
        }
        QSqlDatabase::removeDatabase("claims");
        const CliRun listed = cli({"journal", "claims", "--journal", journal});
        QVERIFY2(listed.out.contains("gone  stale: its process is gone") && listed.out.contains("live  live  elsewhere  process 4711")
                     && listed.out.contains("expired  stale: its lease ran out"), qPrintable(listed.out));
        const auto sims = modules(3);
        const CliRun run = cli(QStringList{"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet"} + portOptions(sims));
        QCOMPARE(run.code, 6);  // one unit is left to its live claim
        QVERIFY2(run.out.contains("no unit left for this port: live claimed by elsewhere (process 4711)"), qPrintable(run.out));
        QVERIFY(run.out.contains("proven 2, not proven 0, failed 0; done 2, left to do 1 of 3 units"));

        const CliRun refused = cli({"provision", "--release", "live", "--journal", journal});
        QCOMPARE(refused.code, 2);
        QVERIFY2(refused.err.contains("live is claimed by a live run (elsewhere, process 4711"), qPrintable(refused.err));
        QVERIFY2(refused.err.contains("give --even-live to free it all the same"), qPrintable(refused.err));
        const CliRun forced = cli({"provision", "--release", "live", "--even-live", "--journal", journal});
        QCOMPARE(forced.code, 0);
        QVERIFY(forced.out.startsWith("live: released the claim of elsewhere, process 4711"));
        QCOMPARE(cli({"journal", "claims", "--journal", journal}).out, QString());
    }

    // A manifest that is no file (an endless device, a FIFO) is refused
    // before a byte of it is read, naming it.
    void aManifestMustBeAFile_data()
    {
        QTest::addColumn<QString>("manifest");
        QTest::newRow("endless device") << "/dev/zero";
        QTest::newRow("FIFO") << "fifo";
    }
    void aManifestMustBeAFile()
    {
        QFETCH(QString, manifest);
        if (manifest == "fifo") {
            manifest = m_dir.filePath("units.fifo");
            QVERIFY(::mkfifo(QFile::encodeName(manifest).constData(), 0600) == 0 || errno == EEXIST);
        }
        const auto sims = modules(1);
        const CliRun run = cli(QStringList{"provision", templateFile(), "--manifest", manifest, "--no-journal"} + portOptions(sims));
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err, QString("tavir340-cli: %1: not a regular file, so not a manifest\n").arg(manifest));
        QVERIFY(sims.front()->received().isEmpty());
    }

    // The journal's disk fills up at the n-th commit of a run, for every n
    // it has: the schema, the claims, each step's start and end, the proofs,
    // the releases. After each run, what it counted as provisioned is what
    // the journal holds as proven, it exits 0 only when both are, no unit is
    // proven twice, and a run after it takes exactly the units not proven.
    void journalWritesFailAtEveryPoint()
    {
        const QString manifest = write("matrix.csv", "unit,m_nev\nu1,A\nu2,B\n");
        long commits = 0;
        QCOMPARE(provisionFailingAt(m_dir.filePath("whole.sqlite"), manifest, 0).finish(&commits).code, 0);
        QVERIFY2(commits > 10, qPrintable(QString::number(commits)));
        // Most of a run is the modules' answers, so a few run side by side.
        constexpr long SideBySide = 4;
        for (long first = 1; first <= commits; first += SideBySide) {
            std::vector<std::pair<long, FailingRun>> failing;
            for (long n = first; n < first + SideBySide && n <= commits; ++n)
                failing.emplace_back(n, provisionFailingAt(m_dir.filePath(QStringLiteral("matrix-%1.sqlite").arg(n)), manifest, n));
            std::vector<std::tuple<QString, int, FailingRun>> next;
            for (auto &[n, run] : failing) {
                const QString journal = m_dir.filePath(QStringLiteral("matrix-%1.sqlite").arg(n));
                const CliRun failed = run.finish();
                const QString where = QStringLiteral("commit %1 of %2: %3%4").arg(n).arg(commits).arg(failed.out, failed.err);
                const QHash<QString, int> proven = QFileInfo::exists(journal) ? proofs(journal) : QHash<QString, int>();
                QVERIFY2(provisionedIn(failed.out) == proven.size(), qPrintable(where));
                QVERIFY2((failed.code == 0) == (proven.size() == 2), qPrintable(where));
                if (proven.size() < 2)
                    next.emplace_back(where, int(proven.size()), provisionFailingAt(journal, manifest, 0));
            }
            for (auto &[where, before, run] : next) {
                const CliRun again = run.finish();
                QVERIFY2(again.code == 0 && provisionedIn(again.out) == 2 - before, qPrintable(where + again.out + again.err));
            }
            for (const auto &[n, run] : failing)
                QCOMPARE(proofs(m_dir.filePath(QStringLiteral("matrix-%1.sqlite").arg(n))), (QHash<QString, int>{{"u1", 1}, {"u2", 1}}));
        }
    }

    // Another station takes the unit while this run writes it (its lease
    // was judged run out): this run's journal entries for the unit are
    // refused from then on, so it proves nothing, counts nothing and says
    // "claim lost"; the unit is proven once, by the other station.
    void aClaimTakenAwayFencesTheRun()
    {
        const QString journal = m_dir.filePath("fenced.sqlite");
        const QString manifest = write("fenced.csv", "unit,m_nev\nu1,A\n");
        SimulatorOptions paced;
        paced.paced = true;
        const auto sims = modules(1, paced);
        QProcess station;
        station.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                      QStringList{"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet"} + portOptions(sims));
        QTRY_VERIFY_WITH_TIMEOUT(sims.front()->received().size() > 20, 20000);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fenced");
            db.setDatabaseName(journal);
            QVERIFY(db.open());
            QSqlQuery take(db);
            QVERIFY(take.exec("UPDATE claims SET station = 'elsewhere', pid = 4711, entry_id = entry_id + 1000"));
        }
        QSqlDatabase::removeDatabase("fenced");
        QVERIFY(station.waitForFinished(60000));
        const QString out = QString::fromUtf8(station.readAllStandardOutput());
        QCOMPARE(station.exitCode(), 5);
        QVERIFY2(out.contains("provision: claim lost: written, not proven") && out.contains("proven 0,"), qPrintable(out));
        QVERIFY(proofs(journal).isEmpty());
        QCOMPARE(sims.front()->downloadsStored(), 1);
    }

    // A run frozen past its lease (SIGSTOP: a hung driver, a suspended
    // laptop) during the backup, the download or the verify, while another
    // run takes and proves its unit: on waking it sends not one more byte,
    // proves nothing, makes no label and says "claim lost". The three stages
    // run side by side, each against a journal of its own, so that one lease
    // runs out for all of them.
    void aRunFrozenPastItsLeaseSendsNothingMore()
    {
        const QString manifest = write("frozen.csv", "unit,m_nev\nu1,A\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TAVIR340_LEASE_SECONDS", "15");
        SimulatorOptions paced;
        paced.paced = true;
        std::vector<FrozenRun> runs(3);
        const QList<std::pair<QString, int>> stages = {{"backup", 2}, {"download", 5}, {"verify", 5}};
        for (int i = 0; i < 3; ++i) {
            FrozenRun &run = runs[size_t(i)];
            std::tie(run.during, run.code) = stages[i];
            run.journal = m_dir.filePath("frozen-" + run.during + ".sqlite");
            run.labels = m_dir.filePath("frozen-labels-" + run.during);
            run.mine = modules(1, paced);
            run.process->setProcessEnvironment(environment);
            run.process->start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                               frozenRunOptions(run, manifest) + portOptions(run.mine)
                                   + (run.during == "backup" ? QStringList{"--backup", m_dir.filePath("frozen-backups")} : QStringList()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(freezeAtTheirStages(runs), 40000);
        for (const FrozenRun &run : runs)
            QTRY_VERIFY_WITH_TIMEOUT(cli({"journal", "claims", "--journal", run.journal}).out.contains("stale: its lease ran out"), 40000);

        std::vector<std::vector<std::unique_ptr<ModuleSimulator>>> theirs;
        for (FrozenRun &run : runs) {
            theirs.push_back(modules(1));
            run.other->setProcessEnvironment(environment);
            run.other->start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                             frozenRunOptions(run, manifest).mid(0, 7) + portOptions(theirs.back()));
        }
        for (FrozenRun &run : runs) {
            QVERIFY(run.other->waitForFinished(60000));
            QCOMPARE(run.other->exitCode(), 0);
        }
        std::vector<QByteArray> sentBeforeWaking;
        for (FrozenRun &run : runs) {
            sentBeforeWaking.push_back(run.mine.front()->received());
            ::kill(pid_t(run.process->processId()), SIGCONT);
        }
        for (size_t i = 0; i < runs.size(); ++i) {
            FrozenRun &run = runs[i];
            QVERIFY(run.process->waitForFinished(60000));
            const QString out = QString::fromUtf8(run.process->readAllStandardOutput());
            QVERIFY2(run.process->exitCode() == run.code && out.contains("claim lost"), qPrintable(run.during + ": " + out));
            QCOMPARE(run.mine.front()->received(), sentBeforeWaking[i]);
            QCOMPARE(proofs(run.journal), (QHash<QString, int>{{"u1", 1}}));
            QVERIFY(QDir(run.labels).entryList(QDir::Files).isEmpty());
        }
    }

    // A run killed outright leaves its claim; the next run on this machine
    // sees that its process is gone and takes the unit at once.
    void killedRunFreesItsClaim()
    {
        SimulatorOptions paced;
        paced.paced = true;
        ModuleSimulator slow(paced);
        QVERIFY(slow.start());
        const QString journal = m_dir.filePath("killed.sqlite");
        const QString manifest = write("killed.csv", "unit,m_nev\nsite,KAPU\n");
        QProcess station;
        station.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                      {"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet", "--port", slow.slavePath()});
        QTRY_VERIFY(slow.received().size() > 20);
        station.kill();
        QVERIFY(station.waitForFinished(10000));
        QVERIFY(cli({"journal", "claims", "--journal", journal}).out.contains("site  stale: its process is gone"));
        const auto sims = modules(1);
        const CliRun again = cli(QStringList{"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet"} + portOptions(sims));
        QCOMPARE(again.code, 0);
        QVERIFY(again.out.contains("proven 1, not proven 0, failed 0; done 1, left to do 0 of 1 units"));
    }

    // One unit that fails beside three that pass: the three are whole in the
    // journal, and the retried backup of a module that ignored its first
    // request is kept.
    void oneFailureIsItsPortsAlone()
    {
        SimulatorOptions silent;
        silent.silent = true;
        SimulatorOptions sleepy;
        sleepy.silentRequests = 1;
        std::vector<std::unique_ptr<ModuleSimulator>> sims = modules(2);
        sims.push_back(std::make_unique<ModuleSimulator>(sleepy));
        sims.push_back(std::make_unique<ModuleSimulator>(silent));
        QVERIFY(sims[2]->start() && sims[3]->start());
        const QString journal = m_dir.filePath("four.sqlite");
        const QString manifest = write("four.csv", "unit,m_nev\nu1,A\nu2,B\nu3,C\nu4,D\n");
        const CliRun run = cli(QStringList{"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet",
                                           "--retries", "1", "--backup", m_dir.filePath("fourbackups")} + portOptions(sims));
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.contains("proven 3, not proven 0, failed 1; done 3, left to do 1 of 4 units"), qPrintable(run.out));
        Journal read(parseJournalDestination(journal), Journal::Mode::Read);
        Journal::Filter unfinished;
        unfinished.result = JournalName::Unfinished;
        QCOMPARE(read.find(unfinished).size(), 0);
        QCOMPARE(read.provisioned().size(), 3);
        QCOMPARE(QDir(m_dir.filePath("fourbackups")).entryList(QDir::Files).size(), 3);
    }

    // A module that still holds the unit just provisioned is not written
    // with the next one: it was not swapped. --overwrite-held writes it all the same.
    void unswappedModuleIsRefused()
    {
        const auto sims = modules(1);
        const QString journal = m_dir.filePath("swap.sqlite");
        const QString manifest = write("swap.csv", "unit,m_nev\nfirst,A\nsecond,B\n");
        const QStringList run = QStringList{"provision", templateFile(), "--manifest", manifest, "--journal", journal, "--quiet",
                                            "--backup", m_dir.filePath("swapbackups")} + portOptions(sims);
        QCOMPARE(cli(run).code, 6);
        const CliRun same = cli(run);
        QCOMPARE(same.code, 2);
        QVERIFY2(same.out.contains(QString("second: %1: provision: not swapped: the module on %1 already holds unit first: swap it")
                                       .arg(sims.front()->slavePath())), qPrintable(same.out));
        QCOMPARE(sims.front()->downloadsStored(), 1);
        QCOMPARE(cli(run + QStringList{"--overwrite-held"}).code, 0);
        QCOMPARE(sims.front()->downloadsStored(), 2);
    }

    // A proven unit's label, from provision --labels and from label: its QR
    // code, rasterised (poppler) and read back (zbar), names the journal
    // entry, the unit and the record's hash; a sheet's size is A4.
    void labelsLeadBackToTheirEntry()
    {
        for (const char *tool : {"pdftoppm", "zbarimg", "pdfinfo"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QFAIL(qPrintable(QString("%1 is missing: scripts/test.sh installs poppler-utils and zbar-tools").arg(tool)));
        const auto sims = modules(2);
        const QString journal = m_dir.filePath("labels.sqlite");
        const QString folder = m_dir.filePath("labels");
        const CliRun run = cli(QStringList{"provision", templateFile(), "--manifest", write("labels.csv", "unit,m_nev\ngate-7,KAPU 7\ngate-8,KAPU 8\n"),
                                           "--journal", journal, "--labels", folder} + portOptions(sims));
        QCOMPARE(run.code, 0);
        Journal read(parseJournalDestination(journal), Journal::Mode::Read);
        const std::optional<JournalEntry> found = read.entry(read.provisioned().value("gate-7").entry);
        QVERIFY(found);
        const JournalEntry proven = *found;
        const QString pdf = QString("%1/gate-7-%2.pdf").arg(folder).arg(proven.id);
        QVERIFY2(run.out.contains("; label: " + pdf), qPrintable(run.out));
        QCOMPARE(QFileInfo(pdf).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
        const QString expected = QString("T340;E=%1;U=gate-7;H=%2").arg(proven.id).arg(proven.recordSha256.left(16));
        auto decoded = [this](const QString &file) {
            QProcess::execute("pdftoppm", {"-r", "300", "-png", "-singlefile", file, m_dir.filePath("page")});
            QProcess zbar;
            zbar.start("zbarimg", {"-q", "--raw", m_dir.filePath("page.png")});
            zbar.waitForFinished(30000);
            return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
        };
        QCOMPARE(decoded(pdf), expected);

        const QString sheet = m_dir.filePath("sheet.pdf");
        QCOMPARE(cli({"label", "--unit", "gate-7", "--size", "a4-3x8", "-o", sheet, "--journal", journal}).code, 0);
        QCOMPARE(decoded(sheet), expected);
        QProcess info;
        info.start("pdfinfo", {sheet});
        info.waitForFinished(30000);
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Page size: +59[45].* x 84[12].* pts \\(A4\\)")));
        // Several on one sheet, each of them, or none.
        const QString both = m_dir.filePath("both.pdf");
        QCOMPARE(cli({"label", "--unit", "gate-7", "--unit", "gate-8", "--size", "a4-3x8", "-o", both, "--journal", journal}).code, 0);
        const QStringList codes = decoded(both).split('\n');
        QCOMPARE(codes.size(), 2);
        QVERIFY(codes.contains(expected) && codes.filter(";U=gate-8;").size() == 1);
        // On a sheet used before, from its first free place: the last place, then a fresh sheet.
        const QString late = m_dir.filePath("late.pdf");
        QCOMPARE(cli({"label", "--unit", "gate-7", "--unit", "gate-8", "--size", "a4-3x8", "--first-place", "24", "-o", late,
                      "--journal", journal}).code, 0);
        info.start("pdfinfo", {late});
        info.waitForFinished(30000);
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages: +2\n")));
        const CliRun refused = cli({"label", "--entry", QString::number(proven.id), "--entry", "999", "-o", m_dir.filePath("none.pdf"),
                                    "--journal", journal});
        QCOMPARE(refused.code, 2);
        QVERIFY2(refused.err.endsWith("tavir340-cli: entry 999 is not a proven unit\n"), qPrintable(refused.err));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("none.pdf")));
    }

    // A shift's report from a journal two stations wrote: every attempt
    // counted once by how it ended, per station and in total, the pace
    // between first and last proof, and what is left of the manifest;
    // --station and --since narrow it, the units left do not change.
    void reportPerStation()
    {
        const QString journalPath = m_dir.filePath("report.sqlite");
        const qint64 start = QDateTime(QDate(2026, 12, 9), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        constexpr qint64 Minute = 60 * 1000;
        {
            Journal journal(parseJournalDestination(journalPath));
            QVERIFY(journal.isOpen());
            struct Attempt { const char *station; const char *unit; QString result; QString reason; int minute; };
            const QList<Attempt> attempts = {
                {"bench-1", "u1", JournalName::Ok, {}, 0},
                {"bench-1", "u2", JournalName::Failed, JournalReason::Mismatch, 5},
                {"bench-1", "u2", JournalName::Ok, {}, 30},
                {"bench-2", "u3", JournalName::Failed, JournalReason::withValue(JournalReason::NotSwapped, "u1"), 10},
                {"bench-2", "u3", JournalName::Failed, JournalReason::NotProven, 20},
                {"bench-2", "u4", JournalName::Interrupted, JournalReason::Interrupted, 40},
                {"bench-2", "other", JournalName::Ok, {}, 50},  // not in the manifest
            };
            for (const Attempt &a : attempts) {
                JournalEntry e = startEntry(JournalName::Provision, "/dev/ttyUSB0");
                e.station = a.station;
                e.unit = a.unit;
                e.startedMs = start + a.minute * Minute - 1000;
                e.id = journal.begin(e);
                QVERIFY(e.id > 0);
                e.result = a.result;
                e.reason = a.reason;
                e.endedMs = start + a.minute * Minute;
                QVERIFY(journal.complete(e));
            }
        }
        const QString manifest = m_dir.filePath("report.csv");
        QVERIFY(writeBytes(manifest, "unit,m_nev\nu1,A\nu2,B\nu3,C\nu4,D\nu5,E\n"));
        const CliRun all = cli({"report", "--manifest", manifest, "--journal", journalPath});
        QCOMPARE(all.code, 0);
        QCOMPARE(all.out, QString("bench-1: proven 2, failed 1, not swapped 0, not proven 0, interrupted 0, 2.0 an hour,"
                                  " proofs 2026-12-09T08:00:00.000Z to 2026-12-09T08:30:00.000Z; failed: %1 1\n"
                                  "bench-2: proven 0, failed 0, not swapped 1, not proven 1, interrupted 1, 0.0 an hour\n"
                                  "total: proven 2, failed 1, not swapped 1, not proven 1, interrupted 1, 2.0 an hour,"
                                  " proofs 2026-12-09T08:00:00.000Z to 2026-12-09T08:30:00.000Z; failed: %1 1\n"
                                  "left 3 of 5 units\n").arg("the module holds another configuration"));
        const CliRun narrowed = cli({"report", "--manifest", manifest, "--journal", journalPath, "--station", "bench-1",
                                     "--since", "2026-12-09T08:01:00", "--csv"});
        QCOMPARE(narrowed.code, 0);
        QCOMPARE(narrowed.out.split("\r\n").mid(1, 2),
                 QStringList({"bench-1,1,1,0,0,0,0.0,2026-12-09T08:30:00.000Z,2026-12-09T08:30:00.000Z",
                              "total,1,1,0,0,0,0.0,2026-12-09T08:30:00.000Z,2026-12-09T08:30:00.000Z"}));
        QCOMPARE(cli({"report", "--journal", journalPath}).code, 2);
        QCOMPARE(cli({"report", "--manifest", manifest, "--journal", journalPath, "--pdf"}).code, 2);  // and where to?
        // A folder that is not there takes no report, and says so.
        const QString nowhere = m_dir.filePath("gone/report.pdf");
        const CliRun unwritten = cli({"report", "--manifest", manifest, "--journal", journalPath, "--pdf", "-o", nowhere});
        QCOMPARE(unwritten.code, 2);
        QVERIFY2(unwritten.err.contains("cannot write " + nowhere), qPrintable(unwritten.err));
        QVERIFY(!QFileInfo::exists(nowhere));
        const QString pdf = m_dir.filePath("report.pdf");
        QCOMPARE(cli({"report", "--manifest", manifest, "--journal", journalPath, "--pdf", "-o", pdf}).code, 0);
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: the report's PDF is not read back");
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString shown = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        for (const char *said : {"Shift report: report.csv", "5, of which 3 left", "Total", "2026-12-09 08:30 UTC",
                                 "Failures, bench-1 the module holds another con", "guration (1)"})  // "fi" may come back as one ligature
            QVERIFY2(shown.contains(said), qPrintable(said + QString(" not in: ") + shown));
    }

    // What a label cannot be made from is refused before anything is
    // written, and says why.
    void labelRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown stock") << QStringList{"label", "--entry", "1", "-o", "x.pdf", "--size", "99x99"}
                                       << "tavir340-cli: --size: no label stock \"99x99\"\n";
        QTest::newRow("place past the sheet") << QStringList{"label", "--entry", "1", "-o", "x.pdf", "--size", "a4-3x8", "--first-place", "25"}
                                              << "tavir340-cli: --first-place: a place from 1 to 24 (the places of a4-3x8)\n";
        QTest::newRow("both ways") << QStringList{"label", "--entry", "1", "--unit", "u", "-o", "x.pdf"}
                                   << "tavir340-cli: usage: tavir340-cli label (--entry ID | --unit NAME) -o FILE.pdf [--size SIZE]\n";
        QTest::newRow("unit not proven") << QStringList{"label", "--unit", "nobody", "-o", "x.pdf"}
                                         << "tavir340-cli: unit nobody is not proven in the journal\n";
        QTest::newRow("labels without journal") << QStringList{"provision", "TEMPLATE", "--manifest", "MANIFEST", "--port", "/dev/null",
                                                               "--no-journal", "--unit", "u1", "--labels", "labels"}
                                                << "tavir340-cli: --labels needs the journal: a label names the unit's entry\n";
    }
    void labelRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        arguments.replaceInStrings("TEMPLATE", templateFile());
        arguments.replaceInStrings("MANIFEST", write("refusals.csv", "unit,m_nev\nu1,A\n"));
        const QString journal = m_dir.filePath("refusals.sqlite");
        QCOMPARE(cli({"journal", "init", "--journal", journal}).code, 0);
        const CliRun run = cli(arguments + (arguments.contains("--no-journal") ? QStringList() : QStringList{"--journal", journal}));
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.endsWith(error), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists("x.pdf") && !QFileInfo::exists("labels"));
    }

    // Every bad cell is named by row and column, and nothing is sent.
    void badCellsAreNamed()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString manifest = write("bad.csv", "unit,m_pin,colour,m_nev\n"
                                                  "a,1234,,A\n"
                                                  "b,12a4,,B\n"
                                                  "a,1,,ABCDEFGHIJKLMNOPQ\n");
        const CliRun run = cli({"provision", templateFile(), "--manifest", manifest, "--port", sim.slavePath(), "--no-journal", "--again"});
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err.split('\n', Qt::SkipEmptyParts),
                 QStringList({QString("tavir340-cli: %1: row 1, column colour: no such field").arg(manifest)}));
        write("bad.csv", "unit,m_pin,m_nev\n"
                         "a,1234,A\n"
                         "b,12a4,B\n"
                         "a,1,ABCDEFGHIJKLMNOPQ\n");
        const CliRun cells = cli({"provision", templateFile(), "--manifest", manifest, "--port", sim.slavePath(), "--no-journal", "--again"});
        QCOMPARE(cells.code, 2);
        QCOMPARE(cells.err.split('\n', Qt::SkipEmptyParts),
                 QStringList({QString("tavir340-cli: %1: row 3, column m_pin: only digits and blanks").arg(manifest),
                              QString("tavir340-cli: %1: row 4, column unit: the same unit as row 2").arg(manifest),
                              QString("tavir340-cli: %1: row 4, column m_nev: longer than the field's 16 characters").arg(manifest)}));
        const CliRun unrecorded = cli({"provision", templateFile(), "--manifest", write("ok.csv", "unit\na\n"), "--port", sim.slavePath(), "--no-journal"});
        QCOMPARE(unrecorded.code, 2);
        QVERIFY(unrecorded.err.contains("without a journal this run cannot know which units are done: give --unit NAME or --again"));
        QVERIFY(sim.received().isEmpty());
    }

    // check, set and download refuse the same values for the same reasons.
    void checkSetAndDownloadAgree_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("letter in the PIN") << "m_pin" << "m_pin (Module PIN)" << "12a4" << "only digits and blanks";
        QTest::newRow("accent") << "m_nev" << "m_nev (Module name)" << "K\u00C1PU" << "a character the module cannot store (accented letters are not allowed)";
        QTest::newRow("empty name") << "m_nev" << "m_nev (Module name)" << "" << "empty, and every visible field must be filled";
        QTest::newRow("restore flag") << "visszaallas" << "visszaallas (Restore)" << "2" << "only 1, 0 or nothing";
        QTest::newRow("plus in a telephone number") << "t3" << "t3 (Telephone 3)" << "+3620" << "only digits and blanks";
        QTest::newRow("tab in a hidden field") << "r20" << "r20" << "a\tb" << "a control character (a line break, a tab)";
        QTest::newRow("separator") << "be1_nev" << "be1_nev (Name of input 1)" << "A|B" << "holds the separator |";
    }
    void checkSetAndDownloadAgree()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, reason);
        QFETCH(QString, named);
        FormValues form = downloadableForm();
        form.texts[lineEditIndex(field)] = value;
        const QString file = m_dir.filePath("agree.t16");
        QCOMPARE(ContentFile::save(file, form), ContentFile::SaveStatus::Saved);
        named += ": " + reason;
        const QString shownValue = QString(value).replace("\t", "\\x09");

        const CliRun check = cli({"check", file});
        QCOMPARE(check.code, 2);
        QCOMPARE(check.out, QString("%1: %2\n").arg(file, named));
        const CliRun set = cli({"set", templateFile(), field + "=" + value, "-o", m_dir.filePath("set.t16")});
        QCOMPARE(set.code, 2);
        QCOMPARE(set.err, QString("tavir340-cli: %1=%2: %3. Nothing was written.\n").arg(field, shownValue, reason));
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const CliRun download = cli({"download", file, "--port", sim.slavePath(), "--no-journal"});
        QCOMPARE(download.code, 2);
        QCOMPARE(download.err, QString("tavir340-cli: %1: refused: %2\n").arg(file, named));
        QVERIFY(sim.received().isEmpty());
    }
};

QTEST_MAIN(TestProvision)
#include "tst_provision.moc"
