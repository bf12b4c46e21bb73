// Measures the three transfers against tavir340-sim: at the true 1200 baud
// pace, how close each comes to the time the line itself needs, and how much
// processor time it takes; unpaced, how much time the program adds per byte.
//
//   transferbench [path/to/tavir340-sim]

#include "benchsupport.h"
#include "core/record/contentrecord.h"
#include "core/plan/transferplan.h"
#include "core/record/moduleanswer.h"
#include "core/link/moduleexchange.h"
#include "core/link/seriallink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr double SecondsPerByte = 10.0 / 1200.0;

struct NoProgress : DownloadProgress
{
    void setRange(int) override {}
    void reset() override {}
    void setValue(int) override {}
};

struct Run
{
    const char *name;
    double wall;
    double cpu;
    qint64 bytes;          // bytes on the line, both directions
    double protocolWait;   // silence the protocol itself requires
    bool ok;
};

Run download(const QString &port)
{
    LinkSettings settings;
    settings.Port = port;
    buildContentRecord(benchForm(), settings, RecordPurpose::Download);
    NoProgress progress;
    const double cpu = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    SerialLink link;
    const bool ok = downloadToModule(link, settings, *planTransfer(benchForm(), settings, RecordPurpose::Download).plan, progress).ending
                 == Ending::Done;
    const qint64 recordBytes = settings.RecordText.size() - settings.RecordText.count('|') + 44;
    return {"download", clock.nsecsElapsed() / 1e9, processCpuSeconds() - cpu, 2 + 2 + recordBytes + 2, 0, ok};
}

Run upload(const QString &port, bool verify)
{
    LinkSettings settings;
    settings.Port = port;
    const double cpu = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    if (verify)
        buildContentRecord(benchForm(), settings, RecordPurpose::Verify);
    SerialLink link;
    link.open(port, UploadReadTimeoutMs);
    int reads = 0;
    const UploadAnswer answer = receiveUploadAnswer(link, settings.UploadCommand, [&reads] { return ++reads > 0; });
    link.close();
    const bool ok = verify ? planTransfer(benchForm(), settings, RecordPurpose::Verify).plan->compare(answer.bytes).differences.isEmpty()
                           : readModuleAnswer(answer.bytes, initialFormValues()).error == AnswerError::None;
    return {verify ? "verify" : "read-up", clock.nsecsElapsed() / 1e9, processCpuSeconds() - cpu,
            2 + answer.bytes.size(), UploadReadTimeoutMs / 1000.0, ok};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString simulator = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                       : QCoreApplication::applicationDirPath() + QStringLiteral("/tavir340-sim");
    if (!QFileInfo(simulator).isExecutable()) {
        std::fprintf(stderr, "transferbench: no simulator at %s\n", qPrintable(simulator));
        return 2;
    }

    bool allOk = true;
    {
        SimulatorProcess sim(simulator, {QStringLiteral("--paced")});
        std::printf("Paced at 1200 baud (10 bits a byte):\n");
        std::printf("%-9s %8s %9s %8s %7s %8s %6s\n", "transfer", "wall s", "needed s", "ratio", "bytes", "cpu ms", "cpu %");
        for (const Run &r : {download(sim.path()), upload(sim.path(), false), upload(sim.path(), true)}) {
            const double needed = r.bytes * SecondsPerByte + r.protocolWait;
            std::printf("%-9s %8.3f %9.3f %8.4f %7lld %8.1f %6.2f%s\n", r.name, r.wall, needed, r.wall / needed,
                        static_cast<long long>(r.bytes), r.cpu * 1000, 100 * r.cpu / r.wall, r.ok ? "" : "  FAILED");
            allOk = allOk && r.ok;
        }
    }
    {
        SimulatorProcess sim(simulator, {});
        // Both sides at the pseudo-terminal's speed: the program's writes
        // too, which otherwise keep to the line's pace.
        qputenv("TAVIR340_LINE_PACE", "off");
        std::printf("\nUnpaced (pseudo-terminal speed), time the program adds:\n");
        for (const Run &r : {download(sim.path()), upload(sim.path(), false), upload(sim.path(), true)}) {
            // The read time-out runs from when the request is through the line.
            const double requestLine = r.protocolWait > 0 ? 2 * SecondsPerByte : 0;
            const double added = r.wall - r.protocolWait - requestLine;
            std::printf("%-9s %8.1f us per byte over %lld bytes%s\n", r.name, 1e6 * added / r.bytes,
                        static_cast<long long>(r.bytes), r.ok ? "" : "  FAILED");
            allOk = allOk && r.ok;
        }
    }
    return allOk ? 0 : 1;
}
