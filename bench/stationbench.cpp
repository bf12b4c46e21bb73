// The station with 16 paced modules (each a tavir340-sim at the true 1200
// baud pace): one round of 16 units, each backed up, downloaded, read back
// and verified, against the line time one unit needs; and the station's own
// processor time per port, its window and threads together.
//
//   stationbench [path/to/bin]   (the folder holding tavir340-sim)

#include "benchsupport.h"
#include "core/content/contentfile.h"
#include "core/journal/journallocation.h"
#include "gui/station/stationwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString bin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    constexpr int Ports = 16;
    std::vector<std::unique_ptr<SimulatorProcess>> sims;
    QStringList ports;
    for (int i = 0; i < Ports; ++i) {
        sims.push_back(std::make_unique<SimulatorProcess>(bin + QStringLiteral("/tavir340-sim"), QStringList{QStringLiteral("--paced")}));
        ports << sims.back()->path();
    }
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
    if (!station.open(manifest.fileName(), ports, dir.filePath(QStringLiteral("backups"))))
        return 1;
    // A unit's line time: the backup's read-up, the download, the read-back.
    const double readUp = (2 + 749) * SecondsPerByte + 1.5;
    const double line = readUp + (2 + 2 + 748 + 2) * SecondsPerByte + readUp;
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
    std::printf("station, %d units on %d paced ports: wall %.3f s, line %.3f s, ratio %.4f; cpu %.0f ms, %.3f %% of a core per port\n",
                Ports, Ports, wall, line, wall / line, cpu * 1000, 100 * cpu / wall / Ports);
    return 0;
}
