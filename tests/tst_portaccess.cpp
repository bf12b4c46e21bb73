#include "filebytes.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "threadstate.h"
#include "fullfolder.h"
#include "core/record/contentrecord.h"
#include "core/link/lineinterrupt.h"
#include "core/link/moduleexchange.h"
#include "core/port/exclusiveport.h"
#include "core/link/seriallink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <latch>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

struct NoProgress : DownloadProgress
{
    void setRange(int) override {}
    void reset() override {}
    void setValue(int) override {}
};

// A descriptor of the test's own on a device: another program's open.
// Another program that holds the terminal with its exclusive flag set: a
// child process of the test, killed when this goes. With `ownTerminal` it
// also holds a pseudo-terminal master of its own, as a terminal
// multiplexer does.
struct OtherOpener
{
    pid_t pid = -1;
    explicit OtherOpener(const QString &path, bool ownTerminal = false)
    {
        const QByteArray name = QFile::encodeName(path);
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            // Nothing of the test's own: the simulated module's master least of all.
            for (int inherited = 3; inherited < 1024; ++inherited)
                if (inherited != ready[1])
                    ::close(inherited);
            const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY);
            const char done = fd >= 0 && ::ioctl(fd, TIOCEXCL) == 0 && (!ownTerminal || ::posix_openpt(O_RDWR | O_NOCTTY) >= 0) ? 1 : 0;
            if (::write(ready[1], &done, 1) == 1)
                ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char done = 0;
        if (::read(ready[0], &done, 1) != 1 || !done)
            pid = -1;
        ::close(ready[0]);
    }
    ~OtherOpener()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

// Whether the terminal's exclusive flag is set, as root can see it.
bool exclusiveFlag(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int exclusive = 0;
    const bool set = fd >= 0 && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive;
    if (fd >= 0)
        ::close(fd);
    return set;
}


// A process number that ran a moment ago and runs no more.
qint64 finishedPid()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999;
}

// What our lock holds: the process number in ten columns, the program's
// name and the host's name.
QByteArray ourLock()
{
    return QByteArray::number(::getpid()).rightJustified(10, ' ') + '\n'
         + QFileInfo(QFile::symLinkTarget("/proc/self/exe")).fileName().toUtf8() + '\n'
         + QSysInfo::machineHostName().toUtf8() + '\n';
}

} // namespace

// Whether a port is truly ours: the exclusive flag of another opener, the
// UUCP lock files, and what is released on every way out of a transfer. Lock
// files go to a folder of the test's own.
class TestPortAccess : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_locks;
    ModuleSimulator *m_sim = nullptr;

    QString lockFile() const { return SerialDevice::lockFilePath(m_sim->slavePath()); }

private slots:
    void init()
    {
        m_locks = std::make_unique<QTemporaryDir>();
        SerialDevice::setLockDirectories({m_locks->path()});
        m_sim = new ModuleSimulator;
        QVERIFY(m_sim->start());
    }
    void cleanup()
    {
        delete m_sim;
        m_locks.reset();
        SerialDevice::setLockDirectories(SerialDevice::defaultLockDirectories());
    }

    void lockFileName()
    {
        QCOMPARE(SerialDevice::lockFilePath("/dev/null"), m_locks->filePath("LCK..null"));
        QCOMPARE(lockFile(), m_locks->filePath("LCK.." + m_sim->slavePath().mid(5).replace('/', '_')));
    }

    // Root passes TIOCEXCL, so the flag itself says that somebody else has
    // the terminal; and trying must not clear it for them, also when that
    // program holds a terminal master of its own.
    void anotherOpenersExclusiveFlag_data()
    {
        QTest::addColumn<bool>("ownTerminal");
        QTest::newRow("a terminal program") << false;
        QTest::newRow("a terminal multiplexer") << true;
    }
    void anotherOpenersExclusiveFlag()
    {
        QFETCH(bool, ownTerminal);
        REQUIRE_ROOT("opens a terminal that another process holds exclusively");
        {
            OtherOpener other(m_sim->slavePath(), ownTerminal);
            QVERIFY(other.pid > 0);
            SerialLink link;
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
            QCOMPARE(link.open(m_sim->slavePath(), 1500), SerialLink::OpenStatus::OpenFailed);
            QCOMPARE(link.openProblem().access, SerialDevice::Access::Busy);
            QCOMPARE(link.openProblem().holder.value_or(SerialDevice::Holder{}).pid, qint64(other.pid));
            QVERIFY(!SerialLink::probe(m_sim->slavePath()));
            QVERIFY(exclusiveFlag(m_sim->slavePath()));
            QVERIFY(!QFile::exists(lockFile()));  // ours went with the failed open
        }
        // Killed, its flag stays while the module keeps the other side open;
        // nobody holds it, so it is cleared and the port used.
        QVERIFY(exclusiveFlag(m_sim->slavePath()));
        SerialLink link;
        QCOMPARE(link.open(m_sim->slavePath(), 1500), SerialLink::OpenStatus::Opened);
    }

    void lockFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("free");
        QTest::newRow("live, ten digits") << QByteArray("         1\n") << false;
        QTest::newRow("live, a first line") << QByteArray("1\nminicom\n") << false;
        QTest::newRow("stale") << QByteArray::number(finishedPid()).rightJustified(10, ' ') + '\n' << true;
        QTest::newRow("unreadable") << QByteArray("garbage") << false;
    }
    void lockFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, free);
        QFile lock(lockFile());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.close();

        SerialLink link;
        if (!free)
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QCOMPARE(link.open(m_sim->slavePath(), 1500) == SerialLink::OpenStatus::Opened, free);
        if (free) {  // the stale lock gave way to ours
            QCOMPARE(fileBytes(lockFile()), ourLock());
        } else {
            QCOMPARE(fileBytes(lockFile()), content);  // never touched
            const SerialDevice::PortState &state = link.openProblem();
            QCOMPARE(state.access, SerialDevice::Access::Busy);
            QCOMPARE(state.holder ? state.holder->pid : 0, content.startsWith("garbage") ? 0 : 1);
            QCOMPARE(state.lockFile, content.startsWith("garbage") ? lockFile() : QString());
        }
        link.close();
        QCOMPARE(QFile::exists(lockFile()), !free);
    }

    // Qt's own lock file class reads our lock as held, and leaves it alone
    // for as long as the port is ours, even once the lock is older than the
    // half minute after which it takes a lock for stale.
    void qtProgramsSeeOurLock()
    {
        SerialLink link;
        QCOMPARE(link.open(m_sim->slavePath(), 1500), SerialLink::OpenStatus::Opened);
        const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        QCOMPARE(::utimes(QFile::encodeName(lockFile()).constData(), hourAgo), 0);
        QLockFile qtLock(lockFile());
        QVERIFY(!qtLock.tryLock(0));
        QCOMPARE(qtLock.error(), QLockFile::LockFailedError);
        QCOMPARE(fileBytes(lockFile()), ourLock());
        link.close();
        QVERIFY(!QFile::exists(lockFile()));
    }

    // Anything at the lock's path but a plain file is never read: the port is
    // busy, at once, and the lock is named.
    void lockPathThatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("device node") << "device";
        QTest::newRow("link") << "link";
    }
    void lockPathThatIsNoFile()
    {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(lockFile());
        if (kind == "fifo")
            QCOMPARE(::mkfifo(path.constData(), 0666), 0);
        else if (kind == "device" && ::geteuid() != 0)
            QSKIP("needs root: makes a device node");
        else if (kind == "device")
            QCOMPARE(::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);  // /dev/null's numbers
        else
            QVERIFY(QFile::link(m_locks->filePath("elsewhere"), lockFile()));
        // A pipe would keep an open waiting for ever: the test's time-out
        // catches that.
        const SerialDevice::PortState inspected = SerialDevice::inspect(m_sim->slavePath());
        SerialLink link;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QCOMPARE(link.open(m_sim->slavePath(), 1500), SerialLink::OpenStatus::OpenFailed);
        for (const SerialDevice::PortState &state : {inspected, link.openProblem()}) {
            QCOMPARE(state.access, SerialDevice::Access::Busy);
            QCOMPARE(state.lockFile, lockFile());
        }
    }

    // A lock whose process has ended but has not been reaped holds nothing.
    void lockOfAZombie()
    {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        QTRY_VERIFY(fileBytes(QString("/proc/%1/stat").arg(child)).contains(") Z "));
        QFile lock(lockFile());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(child).rightJustified(10, ' ') + '\n');
        lock.close();
        SerialLink link;
        QCOMPARE(link.open(m_sim->slavePath(), 1500), SerialLink::OpenStatus::Opened);
        QCOMPARE(fileBytes(lockFile()), ourLock());
        ::waitpid(child, nullptr, 0);
    }

    // Every thread of a run takes its own port's lock, even when all of them
    // take theirs at the same moment.
    void locksOfParallelPorts()
    {
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        for (int i = 0; i < 8; ++i) {
            sims.push_back(std::make_unique<ModuleSimulator>());
            QVERIFY(sims.back()->start());
        }
        std::vector<std::unique_ptr<SerialLink>> links(sims.size());
        std::latch together(std::ptrdiff_t(sims.size()));
        std::vector<std::thread> threads;
        for (size_t i = 0; i < sims.size(); ++i) {
            threads.emplace_back([&, i] {
                links[i] = std::make_unique<SerialLink>();
                together.arrive_and_wait();
                links[i]->open(sims[i]->slavePath(), 1500);
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        for (size_t i = 0; i < sims.size(); ++i) {
            QVERIFY(links[i]->isOpen());
            QCOMPARE(fileBytes(SerialDevice::lockFilePath(sims[i]->slavePath())), ourLock());
        }
        QCOMPARE(QDir(m_locks->path()).entryList(QDir::Files).size(), int(sims.size()));  // no temporary left
    }

    // Two takers of one stale lock, the second held up between reading it
    // and removing it: the first one's new lock survives, and the second
    // sees it held.
    void staleLockTakenOverOnce()
    {
        QFile stale(lockFile());
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("   4194303\n") == 11);  // above any pid_max
        stale.close();
        std::latch sawStale(1), firstTook(1);
        static thread_local bool heldUp = false;
        SerialDevice::DeviceLock::setBeforeStaleRemoval([&] {
            if (!heldUp)
                return;
            sawStale.count_down();
            firstTook.wait();
        });
        SerialDevice::DeviceLock::Status secondStatus = SerialDevice::DeviceLock::Status::NotKept;
        std::thread taker([&] {
            heldUp = true;
            const SerialDevice::DeviceLock lock(m_sim->slavePath());
            secondStatus = lock.status();
        });
        sawStale.wait();
        {
            const SerialDevice::DeviceLock first(m_sim->slavePath());
            QCOMPARE(first.status(), SerialDevice::DeviceLock::Status::Taken);
            firstTook.count_down();
            taker.join();
            QCOMPARE(secondStatus, SerialDevice::DeviceLock::Status::Held);
            QCOMPARE(SerialDevice::readLock(lockFile()).state, SerialDevice::LockState::Live);
        }
        SerialDevice::DeviceLock::setBeforeStaleRemoval({});
        QVERIFY(!QFile::exists(lockFile()));
    }

    // A folder we may not write still lets the port be used.
    void lockFolderNotWritable()
    {
        SerialDevice::setLockDirectories({"/proc/self"});
        SerialLink link;
        QCOMPARE(link.open(m_sim->slavePath(), 1500), SerialLink::OpenStatus::Opened);
    }

    // Our lock file stands while the port is ours and is gone after every way
    // out: success, a failed exchange, Escape and a hang-up.
    void lockFileOnEveryWayOut_data()
    {
        QTest::addColumn<QByteArray>("ack");
        QTest::addColumn<int>("hangUpAfter");
        QTest::addColumn<bool>("escape");
        QTest::newRow("success") << QByteArray("OK") << -1 << false;
        QTest::newRow("no acknowledge") << QByteArray("xx") << -1 << false;
        QTest::newRow("Escape") << QByteArray("OK") << -1 << true;
        QTest::newRow("hang-up") << QByteArray("OK") << 2 + 2 + 300 << false;
    }
    void lockFileOnEveryWayOut()
    {
        QFETCH(QByteArray, ack);
        QFETCH(int, hangUpAfter);
        QFETCH(bool, escape);
        LineInterrupt interrupt;
        std::atomic<bool> lockedWhileTalking = false;
        SimulatorOptions options;
        options.ackReply = ack;
        options.hangUpAfter = hangUpAfter;
        const QString lock = lockFile();
        options.onByte = [&](bool fromHost, unsigned char) {
            if (fromHost && !lockedWhileTalking)
                lockedWhileTalking = QFile::exists(lock);
            if (escape)
                interrupt.trigger();
        };
        delete m_sim;
        m_sim = new ModuleSimulator(options);
        QVERIFY(m_sim->start());
        LinkSettings settings;
        settings.Port = m_sim->slavePath();
        buildContentRecord(downloadableForm(), settings, RecordPurpose::Download);
        NoProgress progress;
        SerialLink link(&interrupt);
        QCOMPARE(downloadToModule(link, settings, downloadPlan(downloadableForm(), settings), progress).ending == Ending::Done, ack == "OK" && hangUpAfter < 0 && !escape);
        QVERIFY(lockedWhileTalking);
        QVERIFY(!QFile::exists(SerialDevice::lockFilePath(settings.Port)));
    }

    // On a real serial device any process that has it open makes it busy;
    // the search for one, shown on a pseudo-terminal held by a child.
    void processHoldingTheDevice()
    {
        QProcess holder;
        holder.setStandardInputFile(m_sim->slavePath());
        holder.start("sleep", {"30"});
        QVERIFY(holder.waitForStarted());
        const std::optional<SerialDevice::Holder> found = SerialDevice::processHolding(m_sim->slavePath());
        QVERIFY(found);
        QCOMPARE(found->pid, holder.processId());
        QCOMPARE(found->program, QString("sleep"));
        holder.kill();
        holder.waitForFinished();
    }

    // Escape must end a download even when the system gave the interrupt no
    // descriptor: here, because none is left to give.
    void interruptWithoutADescriptor()
    {
        SimulatorOptions options;
        options.silent = true;
        delete m_sim;
        m_sim = new ModuleSimulator(options);
        QVERIFY(m_sim->start());
        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
        const int lowestFree = ::dup(0);
        ::close(lowestFree);
        rlimit none = limit;
        none.rlim_cur = rlim_t(lowestFree);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &none), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^unable to create the line interrupt"));
        auto interrupt = std::make_unique<LineInterrupt>();
        ::setrlimit(RLIMIT_NOFILE, &limit);
        QCOMPARE(interrupt->fd(), -1);

        SerialLink waiting(interrupt.get());
        QCOMPARE(waiting.open(m_sim->slavePath(), DownloadReadTimeoutMs), SerialLink::OpenStatus::Opened);
        const qint64 waited = wokenReadMs(waiting, [&interrupt] { interrupt->trigger(); });
        QVERIFY(waited >= 0 && waited < DownloadReadTimeoutMs);
        QCOMPARE(waiting.writeByte('x'), 0);
    }
};

QTEST_GUILESS_MAIN(TestPortAccess)
#include "tst_portaccess.moc"
