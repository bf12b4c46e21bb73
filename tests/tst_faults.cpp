#include "windowjob.h"
#include "gui/mainwindow.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "modal.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "core/record/contentrecord.h"
#include "gui/transfer/dload.h"
#include "core/link/lineinterrupt.h"
#include "core/link/moduleexchange.h"
#include "core/link/seriallink.h"
#include "windowdownload.h"
#include "core/journal/journal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {

struct NoProgress : DownloadProgress
{
    void setRange(int) override {}
    void reset() override {}
    void setValue(int) override {}
};

} // namespace

// Faults of the line and of the module, played by the simulator: every one
// ends in the documented failure, with the form untouched, the port released
// and nothing left hanging.
class TestFaults : public QObject
{
    Q_OBJECT

private:
    const QString ReadupFailed = QStringLiteral("Sikertelen kiolvasás.\nEllenőrizze az eszközt, és próbálja meg újra!");
    const QString VerifyFailed = QStringLiteral("Sikertelen ellenőrzés.\nTöltse be újra a konfigurációt!");
    const QString DownloadFailed = QStringLiteral("Betöltés hiba.\nTipp: ellenőrizze az eszközt és a portbeállításokat.");

    // How many descriptors of this process lead to the device (the
    // simulator keeps one of its own while it is up).
    static int openCount(const QString &device)
    {
        int count = 0;
        for (const QFileInfo &fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files))
            count += fd.symLinkTarget() == device ? 1 : 0;
        return count;
    }

    static void fillForm(MainWindow &window)
    {
        FormValues form = downloadableForm();
        form.texts[30] = "36201234567";
        form.checked[5] = true;
        writeForm(window.centralWidget(), form);
    }

    static QByteArray randomBytes(int count, quint32 seed)
    {
        QRandomGenerator random(seed);
        QByteArray bytes;
        while (bytes.size() < count) {
            const char byte = char(random.bounded(256));
            if (bytes.isEmpty() && byte == 'R')
                continue;  // a burst, not a handshake
            bytes += byte;
        }
        return bytes;
    }

    static QByteArray severalKilobytes()
    {
        QList<QByteArray> fields;
        for (int i = 0; i < 44 * 6; ++i)
            fields << QByteArray::number(i).leftJustified(16, ' ');
        return ModuleSimulator::uploadAnswer(fields);
    }

    // The misbehaving module of the current data row.
    static SimulatorOptions faultOfThisRow()
    {
        QFETCH(int, hangUpAfter);
        QFETCH(QByteArray, answer);
        SimulatorOptions options;
        options.hangUpAfter = hangUpAfter;
        if (!answer.isEmpty())
            options.scriptedAnswer = answer;
        return options;
    }

    enum class Transfer { Readup, Verify };

    // Runs read-up or verify against a misbehaving module and checks the
    // documented outcome.
    void expectUploadFailure(Transfer transfer, const SimulatorOptions &options)
    {
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        const int simulatorsOwn = openCount(sim.slavePath());
        MainWindow window;
        window.linkSettings().Port = sim.slavePath();
        fillForm(window);
        const FormValues before = readForm(window.centralWidget());
        MessageBoxRecorder recorder;
        if (transfer == Transfer::Readup) {
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^(sep error|dberror \\d+ 44)$"));
            window.readup();
            QVERIFY(jobEnds(window));
        } else {
            window.verify_func();
            QVERIFY(jobEnds(window));
        }
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        // The usual failure text, and under it why.
        QCOMPARE(recorder.boxes[0].text.section('\n', 0, 1), transfer == Transfer::Readup ? ReadupFailed : VerifyFailed);
        QCOMPARE(readForm(window.centralWidget()), before);
        QCOMPARE(window.form().smskp_combo->currentIndex(), 0);
        QVERIFY(openCount(sim.slavePath()) <= simulatorsOwn);
        if (!sim.hasHungUp())
            QVERIFY(SerialLink::probe(sim.slavePath()));
    }

    QString downloadStatus(const SimulatorOptions &options, bool *released, const QString &journal = {})
    {
        ModuleSimulator sim(options);
        if (!sim.start())
            return {};
        const int simulatorsOwn = openCount(sim.slavePath());
        MainWindow window;
        if (!journal.isEmpty())
            window.setJournalLocation(parseJournalDestination(journal));
        window.linkSettings().Port = sim.slavePath();
        fillForm(window);
        const QString status = downloadAndAccept(window);
        *released = openCount(sim.slavePath()) <= simulatorsOwn;
        return status;
    }

private slots:
    void hangUpDuringDownload()
    {
        SimulatorOptions options;
        options.hangUpAfter = 2 + 2 + 300;  // in the middle of the record
        bool released = false;
        QTemporaryDir folder;
        const QString journal = folder.filePath("j.sqlite");
        QCOMPARE(downloadStatus(options, &released, journal), DownloadFailed);
        QVERIFY(released);
        // A vanished peer is seen as one, not waited out as a silent module.
        Journal read(parseJournalDestination(journal), Journal::Mode::Read);
        QCOMPARE(read.find({}).value(0).reason, QString("line-closed"));
    }

    void burstInsteadOfTheHandshake()
    {
        SimulatorOptions options;
        options.readyReply = randomBytes(2000, 7);
        bool released = false;
        QCOMPARE(downloadStatus(options, &released), DownloadFailed);
        QVERIFY(released);
    }

    void readupFaults_data()
    {
        QTest::addColumn<int>("hangUpAfter");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("hang-up") << 2 + 300 << QByteArray();
        QTest::newRow("random burst") << -1 << randomBytes(3000, 11);
        QTest::newRow("random burst with field ends") << -1 << randomBytes(800, 13).replace('a', '\r');
        QTest::newRow("several kilobytes") << -1 << severalKilobytes();
    }
    void readupFaults() { expectUploadFailure(Transfer::Readup, faultOfThisRow()); }
    void verifyFaults_data() { readupFaults_data(); }
    void verifyFaults() { expectUploadFailure(Transfer::Verify, faultOfThisRow()); }

    // A module that never stops trickling, a byte every half read time-out:
    // only the answer's bound ends the read-up.
    void tricklingModuleStillEnds()
    {
        SimulatorOptions options;
        options.byteIntervalMs = UploadReadTimeoutMs / 3;
        QElapsedTimer clock;
        clock.start();
        expectUploadFailure(Transfer::Readup, options);
        QVERIFY(clock.elapsed() >= MaxAnswerMs);
    }

    // A module that stops taking bytes in the middle of the record, behind a
    // port queue that fills as a real one does: Escape then sends nothing
    // more, and a hang-up ends the download at once.
    void stallInTheMiddleOfTheRecord_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("hang-up") << false;
    }
    void stallInTheMiddleOfTheRecord()
    {
        QFETCH(bool, escape);
        SimulatorOptions options;
        options.pauseAfter = 2 + 300;
        options.pauseMs = 60000;  // ended by the test
        options.downloadIdleMs = 200;
        LineInterrupt interrupt;
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        const int simulatorsOwn = openCount(sim.slavePath());
        LinkSettings settings;
        settings.Port = sim.slavePath();
        buildContentRecord(downloadableForm(), settings, RecordPurpose::Download);
        // A port that sends what the module takes, and holds the rest.
        SerialLink link(&interrupt, [&sim](int, qint64 written) { return int(written - sim.received().size()); });
        NoProgress progress;
        ExchangeReport report;
        std::thread download([&] { report = downloadToModule(link, settings, downloadPlan(downloadableForm(), settings), progress); });
        QTRY_VERIFY(sim.isPaused());
        if (escape)
            interrupt.trigger();
        else
            sim.stop();  // the line drops while the host waits for it
        download.join();
        QCOMPARE(report.ending, escape ? Ending::Interrupted : Ending::NoAcknowledge);
        QVERIFY(escape || report.lineClosed);  // the line's end, not a time-out
        QVERIFY(openCount(sim.slavePath()) <= simulatorsOwn);
        if (escape) {
            // At most what the port held when Escape came went out; then
            // nothing: the next bytes the module sees are a new request.
            sim.resume();
            QTRY_VERIFY(sim.isIdle());  // it has taken what was held and given up on the record
            const qsizetype taken = sim.received().size();
            QVERIFY2(taken <= 2 + 300 + SerialLink::MaxQueuedBytes + 1, qPrintable(QString::number(taken)));
            SerialLink next;
            QCOMPARE(next.open(sim.slavePath(), 1500), SerialLink::OpenStatus::Opened);
            QCOMPARE(next.writeByte('~'), 1);
            QCOMPARE(next.writeByte('{'), 1);
            QVERIFY(next.readByte());
            QCOMPARE(sim.received().size(), taken + 2);
        }
    }

    void oversizedAnswerIsCutAtItsBound()
    {
        ModuleSimulator sim([] {
            SimulatorOptions options;
            options.scriptedAnswer = severalKilobytes();
            return options;
        }());
        QVERIFY(sim.start());
        SerialLink link;
        QCOMPARE(link.open(sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        const UploadAnswer answer = receiveUploadAnswer(link, '{', [] { return true; });
        QCOMPARE(answer.bytes.size(), MaxAnswerBytes);
        QVERIFY(severalKilobytes().startsWith(answer.bytes));
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
