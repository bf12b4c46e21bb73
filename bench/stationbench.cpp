// The station with 16 paced modules (each a tavir340-sim at the true 1200
// baud pace): one round of 16 units, each backed up, downloaded, read back
// and verified, against the line time one unit needs, and one round of new
// modules without the backup; and the station's own
// processor time per port, its window and threads together. Then a station
// on PostgreSQL whose server is stopped (SIGSTOP) while four ports write:
// the longest the window's event loop is kept from running meanwhile, while
// the overview looks at the journal, F5 and Escape are pressed.
//
//   stationbench [path/to/bin]   (the folder holding tavir340-sim)

#include "benchsupport.h"
#include "core/content/contentfile.h"
#include "core/journal/journallocation.h"
#include "gui/station/stationwindow.h"
#include "../tests/pgserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
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
    if (!station.open(manifest.fileName(), ports, dir.filePath(QStringLiteral("backups"))))
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
    if (!station.open(manifest.fileName(), ports, withBackups ? dir.filePath(QStringLiteral("backups")) : QString()))
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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString bin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    stationRound(bin, true);
    stationRound(bin, false);
    stoppedDatabase(bin);
    return 0;
}
