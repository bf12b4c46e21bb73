// tavir340-cli provisioning 1, 4 and 16 modules at once, each a
// tavir340-sim at the true 1200 baud pace: for each transfer the wall time
// against the line time one transfer needs, and the command line's processor
// time per port. Then 64 modules at once, with the journal off and on, in one
// run; then `provision` of 16 units on 16 modules, and the check of a
// 10,000-row manifest.
//
//   provisionbench [path/to/bin] [--choosing]
//   (the folder holding tavir340-cli and tavir340-sim; --choosing measures
//   only the choice from a big manifest, on SQLite and PostgreSQL)

#include "benchsupport.h"
#include "core/content/contentfile.h"
#include "core/content/manifest.h"
#include "core/journal/journal.h"
#include "core/storage/outputfile.h"
#include "../tests/pgserver.h"

#include <QBuffer>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr double SecondsPerByte = 10.0 / 1200.0;

// A journal that holds `units` as proven, as a run would have left it.
void markDone(const QString &path, const QList<ManifestUnit> &units, const FormValues &templateForm)
{
    Journal journal(parseJournalDestination(path));
    journal.startBatch();
    for (const ManifestUnit &unit : units) {
        JournalEntry entry = startEntry(JournalName::Provision, QStringLiteral("ttyUSB0"));
        entry.unit = unit.unit;
        entry.content = buildUnit(unit, templateForm, LinkSettings())->content;
        entry.id = journal.begin(entry);
        entry.result = JournalName::Ok;
        entry.endedMs = entry.startedMs;
        journal.complete(entry);
    }
    journal.endBatch(true);
}

struct Measured
{
    double wall = 0;
    double cpu = 0;
    double peakMb = 0;  // the largest of the programs' peak resident memory
    int code = -1;
};

// Runs the programs at once, each to its end: the wall time until the last
// ends, their processor time together, and the worst exit code.
Measured runPrograms(const QString &program, const QList<QStringList> &runs)
{
    Measured measured;
    QElapsedTimer clock;
    clock.start();
    std::vector<pid_t> children;
    posix_spawn_file_actions_t quiet;  // the results are not what is measured
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    for (const QStringList &arguments : runs) {
        std::vector<QByteArray> storage = {QFile::encodeName(program)};
        for (const QString &argument : arguments)
            storage.push_back(argument.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &argument : storage)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ) == 0)
            children.push_back(pid);
    }
    posix_spawn_file_actions_destroy(&quiet);
    measured.code = children.size() == size_t(runs.size()) ? 0 : -1;
    for (pid_t pid : children) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        measured.cpu += usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
                      + usage.ru_stime.tv_usec / 1e6;
        measured.code = std::max(measured.code, WIFEXITED(status) ? WEXITSTATUS(status) : 255);
        measured.peakMb = std::max(measured.peakMb, usage.ru_maxrss / 1024.0);
    }
    measured.wall = clock.nsecsElapsed() / 1e9;
    return measured;
}

// What every part of the benchmark works with.
struct Bench
{
    QString cli;
    QString sim;
    QString file;
    QTemporaryDir dir;
};

// `count` paced simulators and the --port options that name them.
struct Simulators
{
    Simulators(const QString &program, int count)
    {
        for (int i = 0; i < count; ++i) {
            sims.push_back(std::make_unique<SimulatorProcess>(program, QStringList{QStringLiteral("--paced")}));
            portOptions << QStringLiteral("--port") << sims.back()->path();
        }
    }
    std::vector<std::unique_ptr<SimulatorProcess>> sims;
    QStringList portOptions;
};

bool pacedTransfers(const Bench &b)
{
    bool allOk = true;
    // The line time of one transfer: every byte both ways at 10 bits a byte,
    // and for read-up and verify the 1.5 s of silence that ends an answer.
    const struct { const char *name; QStringList arguments; double line; } transfers[] = {
        {"download", {QStringLiteral("download"), b.file}, (2 + 2 + 748 + 2) * SecondsPerByte},
        {"read-up", {}, (2 + 749) * SecondsPerByte + 1.5},
        {"verify", {QStringLiteral("verify"), b.file}, (2 + 749) * SecondsPerByte + 1.5},
    };

    std::printf("tavir340-cli against paced simulators (true 1200 baud):\n");
    std::printf("%5s %-9s %8s %8s %7s %8s %14s\n", "ports", "transfer", "wall s", "line s", "ratio", "cpu ms",
                "cpu %/port");
    for (int ports : {1, 4, 16}) {
        const Simulators sims(b.sim, ports);
        const QStringList &portOptions = sims.portOptions;
        for (const auto &transfer : transfers) {
            // One command for all the ports; read-up, which writes one b.file,
            // as one command per port, all at once.
            QList<QStringList> runs;
            if (QLatin1String(transfer.name) == QLatin1String("read-up")) {
                for (int i = 0; i < ports; ++i)
                    runs.append(QStringList{QStringLiteral("readup"), QStringLiteral("-o"),
                                            b.dir.filePath(QStringLiteral("out%1.t16").arg(i)), QStringLiteral("--quiet"),
                                            QStringLiteral("--no-journal")}
                                + portOptions.mid(2 * i, 2));
            } else {
                runs.append(transfer.arguments + portOptions + QStringList{QStringLiteral("--quiet"), QStringLiteral("--no-journal")});
            }
            const Measured m = runPrograms(b.cli, runs);
            const bool ok = m.code == 0;
            allOk = allOk && ok;
            std::printf("%5d %-9s %8.3f %8.3f %7.4f %8.1f %14.3f%s\n", ports, transfer.name, m.wall, transfer.line,
                        m.wall / transfer.line, m.cpu * 1000, 100 * m.cpu / m.wall / ports, ok ? "" : "  FAILED");
        }
    }

    return allOk;
}

bool journalCost(const Bench &b)
{
    bool allOk = true;
    // The journal's cost: the same 64 downloads without it and with it.
    constexpr int Many = 64;
    const Simulators sims(b.sim, Many);
    const QStringList &portOptions = sims.portOptions;
    std::printf("\n%d ports, download, journal off and on (SQLite):\n", Many);
    std::printf("%-8s %8s %8s %14s\n", "journal", "wall s", "cpu ms", "cpu %/port");
    double wallOff = 0;
    for (const QStringList &journal : {QStringList{QStringLiteral("--no-journal")},
                                       QStringList{QStringLiteral("--journal"), b.dir.filePath(QStringLiteral("bench.sqlite"))}}) {
        const Measured m = runPrograms(b.cli, {QStringList{QStringLiteral("download"), b.file, QStringLiteral("--quiet")} + portOptions + journal});
        const bool ok = m.code == 0;
        allOk = allOk && ok;
        const bool on = journal.size() > 1;
        if (!on)
            wallOff = m.wall;
        std::printf("%-8s %8.3f %8.1f %14.3f", on ? "on" : "off", m.wall, m.cpu * 1000, 100 * m.cpu / m.wall / Many);
        if (on)
            std::printf("   wall on/off %.4f", m.wall / wallOff);
        std::printf("%s\n", ok ? "" : "  FAILED");
    }

    return allOk;
}

bool provisionSixteen(const Bench &b)
{
    // provision: each unit written and proved, against what one download and
    // one verify need on the line.
    constexpr int Units = 16;
    const Simulators sims(b.sim, Units);
    const QStringList &portOptions = sims.portOptions;
    QByteArray csv = "unit,m_nev,m_id\n";
    for (int u = 0; u < Units; ++u)
        csv += QStringLiteral("site%1,SITE %1,%2\n").arg(u).arg(u, 4, 10, QLatin1Char('0')).toUtf8();
    const QString manifest = b.dir.filePath(QStringLiteral("units.csv"));
    writeWholeFile(manifest, csv);
    const double provisionLine = (2 + 2 + 748 + 2) * SecondsPerByte + (2 + 749) * SecondsPerByte + 1.5;
    const Measured p = runPrograms(b.cli, {QStringList{QStringLiteral("provision"), b.file, QStringLiteral("--manifest"), manifest,
                                                     QStringLiteral("--journal"), b.dir.filePath(QStringLiteral("provision.sqlite")),
                                                     QStringLiteral("--quiet")}
                                         + portOptions.mid(0, 2 * Units)});
    std::printf("\nprovision, %d units on %d ports: wall %.3f s, line %.3f s, ratio %.4f, cpu %.1f ms (%.3f %%/port)%s\n", Units,
                Units, p.wall, provisionLine, p.wall / provisionLine, p.cpu * 1000, 100 * p.cpu / p.wall / Units,
                p.code == 0 ? "" : "  FAILED");

    return p.code == 0;
}

void chooseFromBigManifest(const Bench &b)
{
    // A manifest of 100,000 units, checked in full.
    constexpr int Units = 100000, Done = 90000;
    QByteArray big = "unit,m_nev,m_id,t1,tc1_1\n";
    for (int u = 0; u < Units; ++u)
        big += QStringLiteral("site%1,SITE %1,%2,3620%3,1\n").arg(u).arg(u % 10000, 4, 10, QLatin1Char('0')).arg(1000000 + u).toUtf8();
    QBuffer bigManifest(&big);
    bigManifest.open(QIODevice::ReadOnly);
    const FormValues templateForm = benchForm();
    const size_t heldBefore = mallinfo2().uordblks;
    QElapsedTimer checking;
    checking.start();
    const Manifest checked = readManifest(bigManifest, templateForm, LinkSettings());
    const double checkMs = checking.nsecsElapsed() / 1e6;
    const double perUnit = double(mallinfo2().uordblks - heldBefore) / double(std::max<qsizetype>(checked.units.size(), 1));
    std::printf("a manifest of %lld units (%lld problems) checked in %.1f ms; %.0f bytes kept per unit, its cells included\n",
                qint64(checked.units.size()), qint64(checked.problems.size()), checkMs, perUnit);

    // The same manifest with 90,000 units done: the run that chooses from
    // what is left (on a port that is not there, so that it ends at once),
    // and --status.
    const QString bigFile = b.dir.filePath(QStringLiteral("big.csv"));
    writeWholeFile(bigFile, big);
    PostgresServer server(PostgresServer::Reach::Loopback);
    const QList<std::pair<const char *, QString>> journals = {
        {"SQLite", b.dir.filePath(QStringLiteral("done.sqlite"))},
        {"PostgreSQL over loopback", server.error().isEmpty() ? server.address() : QString()}};
    for (const auto &[kind, doneJournal] : journals) {
        if (doneJournal.isEmpty()) {
            std::printf("%d units, %d done (%s): not measured, %s\n", Units, Done, kind, qPrintable(server.error()));
            continue;
        }
        markDone(doneJournal, checked.units.mid(0, Done), benchForm());
        const QStringList bigRun = {QStringLiteral("provision"), b.file, QStringLiteral("--manifest"), bigFile, QStringLiteral("--journal"),
                                    doneJournal, QStringLiteral("--quiet")};
        const Measured choose = runPrograms(b.cli, {bigRun + QStringList{QStringLiteral("--port"), b.dir.filePath(QStringLiteral("absent"))}});
        const Measured status = runPrograms(b.cli, {bigRun + QStringList{QStringLiteral("--status")}});
        std::printf("%d units, %d done (%s): a run chooses and ends in %.3f s, peak %.0f MB; --status in %.3f s, peak %.0f MB%s\n",
                    Units, Done, kind, choose.wall, choose.peakMb, status.wall, status.peakMb, status.code == 0 ? "" : "  FAILED");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const bool choosingOnly = arguments.contains(QStringLiteral("--choosing"));
    const QStringList folders = QStringList(arguments).filter(QRegularExpression(QStringLiteral("^[^-]")));
    Bench b;
    const QString bin = folders.isEmpty() ? QCoreApplication::applicationDirPath() : folders.first();
    b.cli = bin + QStringLiteral("/tavir340-cli");
    b.sim = bin + QStringLiteral("/tavir340-sim");
    if (!QFileInfo(b.cli).isExecutable() || !QFileInfo(b.sim).isExecutable()) {
        std::fprintf(stderr, "provisionbench: tavir340-cli and tavir340-sim are not in %s\n", qPrintable(bin));
        return 2;
    }
    b.file = b.dir.filePath(QStringLiteral("site.t16"));
    ContentFile::save(b.file, benchForm());
    bool allOk = true;
    if (!choosingOnly)
        allOk = pacedTransfers(b) && journalCost(b) && provisionSixteen(b);
    chooseFromBigManifest(b);
    return allOk ? 0 : 1;
}
