// The station with 16 paced modules (each a tavir340-sim at the true 1200
// baud pace): one round of 16 units, each backed up, downloaded, read back
// and verified, against the line time one unit needs, and one round of new
// modules without the backup; and the station's own
// processor time per port, its window and threads together. Then a station
// on PostgreSQL whose server is stopped (SIGSTOP) while four ports write:
// the longest the window's event loop is kept from running meanwhile, while
// the overview looks at the journal, F5 and Escape are pressed.
//
// Last, a manifest of 100,000 units over a journal of 100,000 entries: the
// window's longest wait while the batch starts, and the processor time of
// the idle station.
//
//   stationbench [path/to/bin] [big]   (the folder holding tavir340-sim; "big": the last figure alone)

#include "benchsupport.h"
#include "core/content/contentfile.h"
#include "core/journal/journal.h"
#include "core/journal/journallocation.h"
#include "gui/station/stationwindow.h"
#include "../tests/pgserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr double SecondsPerByte = 10.0 / 1200.0;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

// `count` paced simulators, each named in `ports`.
std::vector<std::unique_ptr<SimulatorProcess>> pacedModules(const QString &bin, int count, QStringList *ports)
{
    std::vector<std::unique_ptr<SimulatorProcess>> sims;
    for (int i = 0; i < count; ++i) {
        sims.push_back(std::make_unique<SimulatorProcess>(bin + QStringLiteral("/tavir340-sim"), QStringList{QStringLiteral("--paced")}));
        *ports << sims.back()->path();
    }
    return sims;
}

// Whether the batch the station is opening opened.
bool opened(StationWindow &station)
{
    while (station.isOpening())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return station.portCount() > 0;
}

// Runs the event loop for `ms`, with `during` called once it runs: the
// longest gap between two 5 ms ticks.
double longestStallMs(int ms, const std::function<void()> &during)
{
    QEventLoop loop;
    QElapsedTimer clock, since;
    clock.start();
    since.start();
    double longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, since.nsecsElapsed() / 1e6);
        since.start();
        if (clock.elapsed() > ms)
            loop.quit();
    });
    tick.start(5);
    QTimer::singleShot(0, &loop, during);
    loop.exec();
    return longest;
}

// Four paced ports on a PostgreSQL journal, the server stopped two seconds
// into the round and let go on after another ten.
void stoppedDatabase(const QString &bin)
{
    PostgresServer server;
    if (!server.error().isEmpty()) {
        std::printf("stopped database: skipped (%s)\n", qPrintable(server.error()));
        return;
    }
    QStringList ports;
    const auto sims = pacedModules(bin, 4, &ports);
    QTemporaryDir dir;
    QFile manifest(dir.filePath(QStringLiteral("units.csv")));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("unit,m_nev\n");
    for (int u = 0; u < 400; ++u)
        manifest.write(QStringLiteral("gate%1,GATE %1\n").arg(u).toUtf8());
    manifest.close();
    StationWindow station(benchForm(), LinkSettings{}, parseJournalDestination(server.address()), DeviceLookup{}, nullptr);
    station.show();
    if (!station.open(manifest.fileName(), ports, dir.filePath(QStringLiteral("backups"))) || !opened(station))
        return;
    station.startAll();
    const double running = longestStallMs(2000, [] {});
    server.freeze(true);
    const double stopped = longestStallMs(10000, [&] {
        QTimer::singleShot(3000, &station, [&] { station.startAll(); });
        QTimer::singleShot(6000, &station, [&] { station.stopAll(); });
    });
    server.freeze(false);
    const double after = longestStallMs(1000, [] {});
    std::printf("station on PostgreSQL, 4 paced ports, 400 units: longest event-loop stall %.1f ms running, %.1f ms with the"
                " server stopped (target <= 100 ms), %.1f ms after it went on\n", running, stopped, after);
    while (station.isBusy())
        longestStallMs(100, [] {});
}

// One round of `Ports` units on as many paced ports, with each module
// backed up first or, for new modules, without: wall time against line time.
void stationRound(const QString &bin, bool withBackups)
{
    constexpr int Ports = 16;
    QStringList ports;
    const auto sims = pacedModules(bin, Ports, &ports);
    QTemporaryDir dir;
    QFile manifest(dir.filePath(QStringLiteral("units.csv")));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("unit,m_nev,m_id\n");
    for (int u = 0; u < Ports; ++u)
        manifest.write(QStringLiteral("site%1,SITE %1,%2\n").arg(u).arg(u, 4, 10, QLatin1Char('0')).toUtf8());
    manifest.close();
    StationWindow station(benchForm(), LinkSettings{}, parseJournalDestination(dir.filePath(QStringLiteral("journal.sqlite"))),
                          DeviceLookup{}, nullptr);
    station.show();
    if (!station.open(manifest.fileName(), ports, withBackups ? dir.filePath(QStringLiteral("backups")) : QString()) || !opened(station))
        return;
    // A unit's line time: the backup's read-up, the download, the read-back.
    const double readUp = (2 + 749) * SecondsPerByte + 1.5;
    const double line = (withBackups ? readUp : 0) + (2 + 2 + 748 + 2) * SecondsPerByte + readUp;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    station.startAll();
    // Asked ten times a second, in an event loop that sleeps between.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!station.isBusy())
            loop.quit();
    });
    poll.start(100);
    loop.exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("station, %d units on %d paced ports, %s: wall %.3f s, line %.3f s, ratio %.4f; cpu %.0f ms, %.3f %% of a core per port\n",
                Ports, Ports, withBackups ? "each backed up" : "new modules, no backup", wall, line, wall / line, cpu * 1000,
                100 * cpu / wall / Ports);
}

// A journal of `entries` provisionings of an older manifest's units.
void fillJournal(const QString &path, int entries)
{
    Journal journal(parseJournalDestination(path));
    journal.startBatch();
    for (int i = 0; i < entries; ++i) {
        JournalEntry e = startEntry(JournalName::Provision, QStringLiteral("ttyUSB0"));
        e.unit = QStringLiteral("old%1").arg(i);
        e.id = journal.begin(e);
        e.result = JournalName::Ok;
        e.endedMs = e.startedMs;
        journal.complete(e);
    }
    journal.endBatch(true);
}

// A manifest of 100,000 units on a journal of 100,000 entries: the longest
// wait of the window's events from the start of the batch until the first
// look at the journal is in, then the processor time of a station with four
// idle ports over twenty seconds.
void bigBatch()
{
    constexpr int Units = 100000;
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("journal.sqlite"));
    fillJournal(journal, Units);
    QFile manifest(dir.filePath(QStringLiteral("units.csv")));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("unit,m_nev\n");
    for (int u = 0; u < Units; ++u)
        manifest.write(QStringLiteral("gate%1,GATE %1\n").arg(u).toUtf8());
    manifest.close();
    StationWindow station(benchForm(), LinkSettings{}, parseJournalDestination(journal), DeviceLookup{}, nullptr);
    station.show();
    auto *counts = station.findChild<QLabel *>(QStringLiteral("counts"));
    QElapsedTimer clock;
    clock.start();
    double starting = 0;
    {
        const EventLoopGaps gaps;
        const QStringList ports = {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1"), QStringLiteral("ttyUSB2"), QStringLiteral("ttyUSB3")};
        if (!station.open(manifest.fileName(), ports, QString()) || !opened(station))
            return;
        while (!counts->text().startsWith(QStringLiteral("Kész: 0   Hátra: 100000")))
            longestStallMs(50, [] {});
        starting = gaps.worstMs();
    }
    const double ready = clock.elapsed() / 1000.0;
    // Idle, with nothing of the benchmark's own ticking meanwhile.
    const double cpuBefore = cpuSeconds();
    clock.restart();
    QEventLoop idling;
    QTimer::singleShot(20000, &idling, &QEventLoop::quit);
    idling.exec();
    const double idle = (cpuSeconds() - cpuBefore) / (clock.elapsed() / 1000.0);
    std::printf("station, %d units over a journal of %d entries, 4 ports: first look in after %.1f s, longest event-loop wait"
                " %.1f ms meanwhile (target <= 50 ms); idle %.2f %% of a core (target <= 1 %%)\n",
                Units, Units, ready, starting, idle * 100);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString bin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("big")) {
        bigBatch();
        return 0;
    }
    stationRound(bin, true);
    stationRound(bin, false);
    stoppedDatabase(bin);
    bigBatch();
    return 0;
}
