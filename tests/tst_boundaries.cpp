#include "clirun.h"
#include "core/content/contentfile.h"
#include "core/journal/journal.h"
#include "pgproxy.h"
#include "pgserver.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Exactly once at the boundaries between one step of a unit and the next,
// on a real PostgreSQL server behind a proxy that loses what a network
// loses: a commit's answer, or the whole connection for a while. Whatever
// happens, what the run counts, what it says, its exit code, its labels and
// the journal agree, and no entry is written twice or left unfinished.
class TestBoundaries : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Provisioned
    {
        int code = -1;
        QString out;
    };

    // One unit, "g1", provisioned on a new module through the proxy.
    Provisioned provision(const PgProxy &proxy, const QString &name, const QString &leaseSeconds = {})
    {
        const QString form = m_dir.filePath(name + ".t16");
        ContentFile::save(form, downloadableForm());
        const QString manifest = m_dir.filePath(name + ".csv");
        QFile csv(manifest);
        csv.open(QIODevice::WriteOnly);
        csv.write("unit,m_nev\ng1,KAPU\n");
        csv.close();
        ModuleSimulator module;
        module.start();
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!leaseSeconds.isEmpty())
            environment.insert("TAVIR340_LEASE_SECONDS", leaseSeconds);
        run.setProcessEnvironment(environment);
        run.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                  {"provision", form, "--manifest", manifest, "--port", module.slavePath(), "--journal", proxy.address(), "--labels",
                   m_dir.filePath(name + "-labels"), "--quiet"});
        run.waitForFinished(90000);
        return {run.exitCode(), QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError())};
    }

    static QList<JournalEntry> entries(const PostgresServer &server)
    {
        Journal::Filter all;
        all.limit = 0;
        return Journal(parseJournalDestination(server.address()), Journal::Mode::Read).find(all);
    }

    // Each operation's entries: how many, and none unfinished.
    static QMap<QString, int> counted(const QList<JournalEntry> &entries, int *unfinished)
    {
        QMap<QString, int> count;
        *unfinished = 0;
        for (const JournalEntry &entry : entries) {
            ++count[entry.operation];
            *unfinished += !entry.isFinished();
        }
        return count;
    }

private slots:
    // The server takes a transaction and the answer is lost: the run reads
    // back what the journal holds and goes on as if it had heard.
    void aLostCommitAnswerIsReadBack_data()
    {
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<int>("nth");
        QTest::newRow("the claim's renewal") << QByteArray("UPDATE claims SET lease_until") << 1;
        QTest::newRow("the download's start") << QByteArray("INSERT INTO entries") << 2;
        QTest::newRow("the verify's end") << QByteArray("UPDATE entries SET ended_at") << 2;
        QTest::newRow("the unit's proof") << QByteArray("UPDATE entries SET ended_at") << 3;
    }
    void aLostCommitAnswerIsReadBack()
    {
        QFETCH(QByteArray, statement);
        QFETCH(int, nth);
        PostgresServer server(PostgresServer::Reach::Loopback);
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        QCOMPARE(cli({"journal", "init", "--journal", server.address()}).code, 0);
        PgProxy proxy(server.tcpPort());
        proxy.loseCommitAnswer(statement, nth);
        const QString name = QTest::currentDataTag();
        const Provisioned run = provision(proxy, name);
        QVERIFY(proxy.struck());
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains(": provision: proven") && run.out.contains("proven 1, not proven 0, failed 0; done 1, left to do 0"),
                 qPrintable(run.out));
        QCOMPARE(QDir(m_dir.filePath(name + "-labels")).entryList({"g1-*.pdf"}, QDir::Files).size(), 1);
        int unfinished = 0;
        const QMap<QString, int> count = counted(entries(server), &unfinished);
        QCOMPARE(unfinished, 0);
        QCOMPARE(count, (QMap<QString, int>{{"provision", 1}, {"download", 1}, {"verify", 1}}));
    }

    // The journal gone between the download and the verify: for 4 s, the
    // verify's start is tried again until it goes in, and the unit is
    // proven; for longer than the fence, the unit ends written, not proven,
    // its ends written once the journal is back, so that the run and
    // --status say the same.
    void anOutageBetweenTwoSteps_data()
    {
        QTest::addColumn<int>("outageMs");
        QTest::addColumn<QString>("lease");
        QTest::newRow("4 s") << 4000 << QString();
        QTest::newRow("longer than the fence") << 12000 << QString("15");
    }
    void anOutageBetweenTwoSteps()
    {
        QFETCH(int, outageMs);
        QFETCH(QString, lease);
        PostgresServer server(PostgresServer::Reach::Loopback);
        QVERIFY2(server.error().isEmpty(), qPrintable(server.error()));
        QCOMPARE(cli({"journal", "init", "--journal", server.address()}).code, 0);
        PgProxy proxy(server.tcpPort());
        proxy.outage("INSERT INTO entries", 3, outageMs);  // the claim's, the download's, then the verify's start
        const Provisioned run = provision(proxy, QString("outage%1").arg(outageMs), lease);
        QVERIFY(proxy.struck());
        int unfinished = 0;
        const QMap<QString, int> count = counted(entries(server), &unfinished);
        QCOMPARE(unfinished, 0);
        const CliRun status = cli({"provision", m_dir.filePath(QString("outage%1.t16").arg(outageMs)), "--manifest",
                                   m_dir.filePath(QString("outage%1.csv").arg(outageMs)), "--status", "--csv", "--journal", server.address()});
        if (lease.isEmpty()) {
            QCOMPARE(run.code, 0);
            QVERIFY2(run.out.contains(": provision: proven"), qPrintable(run.out));
            QVERIFY2(status.out.contains("g1,done"), qPrintable(status.out));
        } else {
            QCOMPARE(run.code, 5);
            QVERIFY2(run.out.contains(": provision: not proven: ") && run.out.contains("proven 0, not proven 1, failed 0"),
                     qPrintable(run.out));
            QVERIFY2(status.out.contains("g1,not-proven"), qPrintable(status.out));
            QCOMPARE(count.value("verify"), 0);  // never begun: nothing of it went to the module
        }
    }
};

QTEST_GUILESS_MAIN(TestBoundaries)
#include "tst_boundaries.moc"
