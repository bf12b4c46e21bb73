#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "threadstate.h"
#include "core/record/contentrecord.h"
#include "core/link/lineinterrupt.h"
#include "core/link/linetiming.h"
#include "core/record/moduleanswer.h"
#include "core/link/moduleexchange.h"
#include "core/port/portname.h"
#include "core/link/seriallink.h"
#include "core/operations/moduleoperations.h"

#include "core/content/contentfile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

struct RecordedProgress : DownloadProgress
{
    int maximum = -1;
    int resets = 0;
    QList<int> values;
    void setRange(int m) override { maximum = m; }
    void reset() override { ++resets; }
    void setValue(int v) override { values.append(v); }
};

FormValues sampleForm()
{
    FormValues form = downloadableForm();
    form.texts[22] = "reserve";
    form.texts[28] = "36201234567";
    form.checked[0] = form.checked[3] = true;
    return form;
}

// One download of the sample form to a fresh simulator.
struct DownloadRun
{
    ModuleSimulator sim;
    RecordedProgress progress;
    bool ok = false;

    explicit DownloadRun(const SimulatorOptions &options = {}, LinkSettings settings = {}, const FormValues &form = sampleForm())
        : sim(options)
    {
        if (!sim.start())
            return;
        settings.Port = sim.slavePath();
        SerialLink link;
        ok = downloadToModule(link, settings, downloadPlan(form, settings), progress).ending == Ending::Done;
    }
};

struct QuietWatcher : UploadWatcher
{
    bool received(int) override { return true; }
};

} // namespace

// The serial link and the byte exchanges against the simulator on a
// pseudo-terminal.
class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    // Every combination of a row's four permission boxes, one per telephone
    // row, goes to the module and comes back as it was; verify agrees.
    void permissionBitsRoundTrip()
    {
        FormValues form = sampleForm();
        for (int row = 1; row <= TelephoneCount; ++row) {
            for (int column = 1; column <= 4; ++column)
                form.checked[checkBoxIndex(QString("tc%1_%2").arg(column).arg(row))] = ((row - 1) >> (column - 1)) & 1;
        }
        DownloadRun run({}, {}, form);
        QVERIFY(run.ok);
        LinkSettings settings;
        settings.Port = run.sim.slavePath();
        QuietWatcher watcher;
        SerialLink link;
        const ReadupOutcome back = readUp(link, settings, initialFormValues(), watcher);
        link.close();
        QCOMPARE(back.ending, Ending::Done);
        QCOMPARE(back.values.checked, form.checked);
        SerialLink again;
        const VerifyOutcome verified = verify(again, settings, form, watcher);
        QCOMPARE(verified.ending, Ending::Done);
    }

    void devicePaths_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("path");
        QTest::newRow("COM1") << "COM1" << "/dev/ttyS0";
        QTest::newRow("COM12") << "COM12" << "/dev/ttyS11";
        QTest::newRow("adapter") << "ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("path") << "/dev/serial/by-id/usb-x" << "/dev/serial/by-id/usb-x";
        QTest::newRow("COM0 is no COM port") << "COM0" << "/dev/COM0";
    }
    void devicePaths()
    {
        QFETCH(QString, port);
        QFETCH(QString, path);
        QCOMPARE(SerialDevice::devicePath(port), path);
    }

    void bytesBothWays()
    {
        ModuleSimulator sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        QList<QByteArray> fields;
        for (int i = 0; i < 44; ++i)
            fields << QByteArray("field ") + QByteArray::number(i) + "\xA4\xE9";
        sim.setFields(fields);

        SerialLink link;
        QCOMPARE(link.open(sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        const UploadAnswer answer = receiveUploadAnswer(link, '{', [] { return true; });
        QVERIFY(!answer.cancelled);
        QCOMPARE(sim.received(), QByteArray("~{"));
        QCOMPARE(answer.bytes, ModuleSimulator::uploadAnswer(sim.fields()));
        QCOMPARE(answer.bytes.size(), 44 * 17 + 1);
    }

    // The simulator's terminal starts as a fresh one; everything the line
    // needs is the program's own doing, read back here after the open.
    void lineIsSetUpByTheProgram()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const int view = ::open(QFile::encodeName(sim.slavePath()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(view >= 0);
        termios tio{};
        QCOMPARE(::tcgetattr(view, &tio), 0);
        QVERIFY((tio.c_lflag & (ICANON | ECHO)) && (tio.c_iflag & ICRNL));

        SerialLink link;
        QCOMPARE(link.open(sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        QCOMPARE(::tcgetattr(view, &tio), 0);
        ::close(view);
        QCOMPARE(cfgetispeed(&tio), speed_t(B1200));
        QCOMPARE(cfgetospeed(&tio), speed_t(B1200));
        QCOMPARE(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(tio.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));
        QCOMPARE(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP), tcflag_t(0));
        QCOMPARE(tio.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(tio.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), tcflag_t(0));

        // A CR from the module arrives as CR.
        sim.setFields({"A"});
        const UploadAnswer answer = receiveUploadAnswer(link, '{', [] { return true; });
        QCOMPARE(answer.bytes.left(17), QByteArray("A") + QByteArray(15, '\xFF') + '\r');
    }

    void readTimesOut()
    {
        SimulatorOptions options;
        options.silent = true;
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        SerialLink link;
        QCOMPARE(link.open(sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        QCOMPARE(link.writeByte('~'), 1);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!link.readByte());
        QVERIFY2(clock.elapsed() >= UploadReadTimeoutMs - 1, qPrintable(QString::number(clock.elapsed())));
    }

    void openFailures()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        SerialLink first;
        QCOMPARE(first.open(sim.slavePath(), 1500), SerialLink::OpenStatus::Opened);
        QVERIFY(!SerialLink::probe(sim.slavePath()));

        SerialLink second;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QCOMPARE(second.open(sim.slavePath(), 1500), SerialLink::OpenStatus::OpenFailed);
        QVERIFY(!second.isOpen());
        first.close();
        QVERIFY(SerialLink::probe(sim.slavePath()));
        QCOMPARE(second.open(sim.slavePath(), 1500), SerialLink::OpenStatus::Opened);

        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QCOMPARE(SerialLink().open("/nonexistent/ttyX", 1500), SerialLink::OpenStatus::OpenFailed);
        QVERIFY(!SerialLink::probe("/nonexistent/ttyX"));
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QCOMPARE(SerialLink().open(QString(), 1500), SerialLink::OpenStatus::OpenFailed);

        QTest::ignoreMessage(QtDebugMsg, "unable to set comport dcb settings");
        QCOMPARE(SerialLink().open("/dev/null", 1500), SerialLink::OpenStatus::DescriptionFailed);
        QVERIFY(SerialLink::probe("/dev/null"));  // released after the failed open

        second.close();
        QTest::ignoreMessage(QtDebugMsg, "unable to set comport time-out settings");
        QCOMPARE(SerialLink().open(sim.slavePath(), 0), SerialLink::OpenStatus::TimeoutFailed);
        QVERIFY(SerialLink::probe(sim.slavePath()));
    }

    // A read that has begun to wait ends at once when the module hangs up,
    // or when the interrupt fires; either way, well before its time-out.
    void aWaitingReadEnds_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("the module hangs up") << true;
        QTest::newRow("the interrupt fires") << false;
    }
    void aWaitingReadEnds()
    {
        QFETCH(bool, hangUp);
        SimulatorOptions options;
        options.silent = true;
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        LineInterrupt interrupt;
        SerialLink link(&interrupt);
        QCOMPARE(link.open(sim.slavePath(), DownloadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        const qint64 waited = wokenReadMs(link, [&] {
            if (hangUp)
                sim.stop();
            else
                interrupt.trigger();
        });
        QVERIFY(waited >= 0);
        QVERIFY2(waited < DownloadReadTimeoutMs, qPrintable(QString::number(waited)));
        QVERIFY(!link.readByte());
        QCOMPARE(link.writeByte('x'), 0);  // nothing more goes out
    }

    // A byte counts as sent once it is on its way down the line: a write
    // returns when the port holds no more than about 50 ms of bytes, having
    // waited between its looks about as long as the line needs for the excess.
    void writesWaitForTheQueue()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QList<int> queue = {30, 12, 7, 6};
        QList<qint64> lookedAt;  // µs since the write began
        QElapsedTimer clock;
        LineInterrupt interrupt;
        {
            SerialLink link(&interrupt, [&](int, qint64) {
                lookedAt.append(clock.nsecsElapsed() / 1000);
                return queue[std::min(lookedAt.size(), queue.size()) - 1];
            });
            QCOMPARE(link.open(sim.slavePath(), DownloadReadTimeoutMs), SerialLink::OpenStatus::Opened);
            clock.start();
            QCOMPARE(link.writeByte('~'), 1);
            QCOMPARE(lookedAt.size(), 4);
            for (int i = 1; i < 4; ++i)
                QVERIFY2(lookedAt[i] - lookedAt[i - 1] >= (queue[i - 1] - SerialLink::MaxQueuedBytes) * 8333,
                         qPrintable(QString::number(lookedAt[i] - lookedAt[i - 1])));
        }

        // A port that never drains: the interrupt, fired while the write
        // waits, ends a wait that would otherwise take eight seconds.
        int looks = 0;
        SerialLink stuck(&interrupt, [&](int, qint64) {
            ++looks;
            interrupt.trigger();
            return 1000;
        });
        QCOMPARE(stuck.open(sim.slavePath(), DownloadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        clock.restart();
        QCOMPARE(stuck.writeByte('}'), 1);
        QCOMPARE(looks, 1);  // one look, and the interrupt ended the wait
    }

    // A download frozen mid-record (SIGSTOP) has written no more than the
    // line could carry since the module said it was ready, and the allowance
    // ahead of it, though a pseudo-terminal takes the whole record at once:
    // the writes keep to the line's pace themselves. Counted against the
    // line's time up to the stop, not against what the simulated module had
    // taken by then, which falls behind on a loaded machine.
    void aFrozenDownloadSendsNoMore()
    {
        using Clock = std::chrono::steady_clock;
        std::atomic<Clock::rep> readyAt{0};
        SimulatorOptions options;
        options.paced = true;
        options.onByte = [&readyAt](bool fromHost, unsigned char byte) {
            if (!fromHost && byte == '>')
                readyAt = Clock::now().time_since_epoch().count();  // the record may go from now on
        };
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString file = dir.filePath("paced.t16");
        QVERIFY(ContentFile::save(file, sampleForm()) == ContentFile::SaveStatus::Saved);
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("TAVIR340_LINE_PACE");
        run.setProcessEnvironment(environment);
        run.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", {"download", file, "--port", sim.slavePath(), "--no-journal"});
        QTRY_VERIFY_WITH_TIMEOUT(sim.received().size() > 200, 10000);
        QCOMPARE(::kill(pid_t(run.processId()), SIGSTOP), 0);
        const Clock::time_point stopped = Clock::now();
        QTest::qWait(1000);  // 120 bytes' time: what was on its way arrives
        const qsizetype written = sim.received().size() - 2;  // the record's bytes, after the request
        ::kill(pid_t(run.processId()), SIGCONT);
        QVERIFY(run.waitForFinished(30000));
        const auto lineTime = stopped - Clock::time_point(Clock::duration(readyAt.load()));
        const qsizetype carried = qsizetype(lineTime / LineByteTime);
        // The allowance and the byte written as it was reached; without the
        // pace, the record's rest (some 500 bytes) would have been there.
        QVERIFY2(written <= carried + SerialLink::MaxQueuedBytes + 1,
                 qPrintable(QString("%1 written, %2 carried").arg(written).arg(carried)));
        QCOMPARE(run.exitCode(), 0);  // and on waking it goes on where it was
    }

    void downloadBytesOnTheLine()
    {
        DownloadRun run;
        QVERIFY(run.ok);
        LinkSettings settings;
        buildContentRecord(sampleForm(), settings, RecordPurpose::Download);
        QByteArray expected = "~}";
        for (const QString &item : settings.RecordText.split('|'))
            expected += item.toLatin1() + '\r';
        QCOMPARE(expected.size(), 2 + 748);
        QCOMPARE(run.sim.received(), expected);
        QCOMPARE(run.sim.sent(), QByteArray("R>OK"));
        QCOMPARE(run.sim.downloadsStored(), 1);
        QCOMPARE(run.sim.fields()[28], QByteArray("2136201234567   "));

        QCOMPARE(run.progress.maximum, 757);
        QCOMPARE(run.progress.resets, 1);
        QCOMPARE(run.progress.values.first(), 10);
        QCOMPARE(run.progress.values.size(), 1 + 748);
        QCOMPARE(run.progress.values.last(), 758);
    }

    void downloadWithChecksumAndOtherSeparator()
    {
        LinkSettings settings;
        settings.CheckValue = 1;
        settings.CheckSize = 3;
        settings.DownloadSeparator = '#';
        SimulatorOptions checking;
        checking.expectedCheckSize = 3;
        checking.recordSeparator = '#';
        DownloadRun run(checking, settings);
        QVERIFY(run.ok);
        QCOMPARE(run.sim.downloadsStored(), 1);
        // A module that expects another suffix refuses the record.
        checking.expectedCheckSize = 'Z';
        DownloadRun refused(checking, settings);
        QVERIFY(!refused.ok);
        QCOMPARE(refused.sim.downloadsStored(), 0);
        LinkSettings built = settings;
        buildContentRecord(sampleForm(), built, RecordPurpose::Download);
        const QString suffix = built.RecordText.mid(747);
        QVERIFY(suffix.size() >= 1);
        const QByteArray received = run.sim.received();
        QCOMPARE(received.count('\r'), 44);
        QVERIFY(!received.contains('#'));
        QVERIFY(received.endsWith(suffix.toLatin1() + '\r'));
    }

    void acknowledgements_data()
    {
        QTest::addColumn<QByteArray>("ready");
        QTest::addColumn<QByteArray>("ack");
        QTest::addColumn<char>("ackChar");
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("xO") << QByteArray("R>") << QByteArray("xO") << 'O' << true;
        QTest::newRow("Ox") << QByteArray("R>") << QByteArray("Ox") << 'O' << true;
        QTest::newRow("xx") << QByteArray("R>") << QByteArray("xx") << 'O' << false;
        QTest::newRow("OO with K") << QByteArray("R>") << QByteArray("OO") << 'K' << false;
        QTest::newRow("KK with K") << QByteArray("R>") << QByteArray("KK") << 'K' << true;
        QTest::newRow("wrong handshake") << QByteArray("X>") << QByteArray("OK") << 'O' << false;
        // The tool waits 5 s for the byte after "R"; the module must still be
        // listening when the record comes.
        QTest::newRow("R alone") << QByteArray("R") << QByteArray("OK") << 'O' << true;
    }
    void acknowledgements()
    {
        QFETCH(QByteArray, ready);
        QFETCH(QByteArray, ack);
        QFETCH(char, ackChar);
        QFETCH(bool, succeeds);
        SimulatorOptions options;
        options.readyReply = ready;
        options.ackReply = ack;
        LinkSettings settings;
        settings.AckChar = ackChar;
        DownloadRun run(options, settings);
        QCOMPARE(run.ok, succeeds);
        if (!ready.startsWith('R'))
            QCOMPARE(run.sim.received(), QByteArray("~}"));  // no record byte after a wrong answer
    }

    void singleAckByteWaitsOutTheSecondRead()
    {
        SimulatorOptions options;
        options.ackReply = "O";
        QElapsedTimer clock;
        clock.start();
        QVERIFY(DownloadRun(options).ok);
        QVERIFY(clock.elapsed() >= DownloadReadTimeoutMs - 1);
    }

    void downloadToAMissingPortFailsAtOnce()
    {
        LinkSettings settings;
        settings.Port = "/nonexistent/ttyX";
        buildContentRecord(sampleForm(), settings, RecordPurpose::Download);
        RecordedProgress progress;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        SerialLink link;
        const ExchangeReport report = downloadToModule(link, settings, downloadPlan(sampleForm(), settings), progress);
        QCOMPARE(report.ending, Ending::PortUnavailable);
        QCOMPARE(report.port.access, SerialDevice::Access::Missing);
        QCOMPARE(progress.maximum, 757);
        QVERIFY(progress.values.isEmpty());
    }

    void readBackWhatWasDownloaded()
    {
        DownloadRun run;
        QVERIFY(run.ok);
        SerialLink link;
        QCOMPARE(link.open(run.sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        const UploadAnswer answer = receiveUploadAnswer(link, '{', [] { return true; });
        const ReadupResult result = readModuleAnswer(answer.bytes, initialFormValues());
        QCOMPARE(result.error, AnswerError::None);
        FormValues expected = sampleForm();
        expected.texts[7] = "0005";  // the module keeps the relay time as four digits
        QCOMPARE(result.values, expected);

        LinkSettings verify;
        buildContentRecord(sampleForm(), verify, RecordPurpose::Verify);
        QCOMPARE(answerText(answer.bytes), verify.RecordText);
    }

    void simulatorFaults()
    {
        SimulatorOptions options;
        options.preamble = "boot\r\r";
        options.hangUpAfter = 2 + 6 + 10;
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        SerialLink link;
        QCOMPARE(link.open(sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        const UploadAnswer answer = receiveUploadAnswer(link, '{', [] { return true; });
        // The module hangs up once the host has its first 16 bytes.
        QCOMPARE(answer.bytes, QByteArray("boot\r\r") + QByteArray(10, '\xFF'));
        QVERIFY(sim.hasHungUp());
        QCOMPARE(sim.sent().size(), 16);

        SimulatorOptions scripted;
        scripted.scriptedAnswer = QByteArray("abc\r");
        scripted.uploadCommand = 'U';
        ModuleSimulator other(scripted);
        QVERIFY(other.start());
        SerialLink second;
        QCOMPARE(second.open(other.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        QCOMPARE(receiveUploadAnswer(second, 'U', [] { return true; }).bytes, QByteArray("abc\r"));
    }

    // A host that stops reading blocks the module's answer; stopping still
    // returns at once, the module counts as busy until its answer is out,
    // and it starts again afterwards.
    void simulatorStopsWhileTheHostIsNotReading()
    {
        SimulatorOptions options;
        options.scriptedAnswer = QByteArray(64 * 1024, 'x');  // more than the terminal holds
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        const QString first = sim.slavePath();
        SerialLink link;
        QCOMPARE(link.open(first, UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        QCOMPARE(link.writeByte('~'), 1);
        QCOMPARE(link.writeByte('{'), 1);
        QTRY_VERIFY(sim.sent().size() > 16 * 1024);
        QVERIFY(!sim.isIdle());
        sim.stop();
        QVERIFY(sim.hasHungUp());
        link.close();

        QVERIFY(sim.start());
        QVERIFY(!sim.hasHungUp());
        QCOMPARE(link.open(sim.slavePath(), UploadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        QCOMPARE(receiveUploadAnswer(link, '{', [] { return true; }).bytes.size(), MaxAnswerBytes);
    }

    void linkReplacesOnlyALink()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("tavir340");
        QFile::link("/dev/null", path);
        SimulatorOptions options;
        options.linkPath = path;
        {
            ModuleSimulator sim(options);
            QVERIFY(sim.start());
            QCOMPARE(QFile::symLinkTarget(path), sim.slavePath());
        }
        QVERIFY(!QFileInfo::exists(path) && !QFileInfo(path).isSymLink());

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
        ModuleSimulator sim(options);
        QVERIFY(!sim.start());
        QCOMPARE(sim.errorString(), path + " exists and is not a symbolic link");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
    }

    // A module that takes no bytes for a while: the host waits for the line
    // to become writable and loses nothing.
    void hostWaitsForALineThatTakesNothing()
    {
        SimulatorOptions options;
        options.pauseAfter = 2;  // from the download request on
        options.pauseMs = 300;
        QElapsedTimer clock;
        clock.start();
        DownloadRun run(options);
        QVERIFY(run.ok);
        QVERIFY(clock.elapsed() >= 300);
        QCOMPARE(run.sim.received().size(), 2 + 748);
        QCOMPARE(run.sim.downloadsStored(), 1);
    }

    void decodeEscapes()
    {
        QCOMPARE(::decodeEscapes("a\\r\\n\\x4F\\\\z\\x"), QByteArray("a\r\nO\\z\\x"));
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
