// Measures the three transfers against tavir340-sim: at the true 1200 baud
// pace, how close each comes to the time the line itself needs, and how much
// processor time it takes; unpaced, how much time the program adds per byte.
//
//   transferbench [path/to/tavir340-sim]

#include "transfer/contentrecord.h"
#include "transfer/moduleanswer.h"
#include "transfer/moduleexchange.h"
#include "transfer/seriallink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <ctime>

namespace {

constexpr double SecondsPerByte = 10.0 / 1200.0;

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct NoProgress : DownloadProgress
{
    void setRange(int) override {}
    void reset() override {}
    void setValue(int) override {}
};

FormValues sampleForm()
{
    FormValues form = initialFormValues();
    const QStringList visible = {"36309888000", "1234", "0042", "KAPU 1", "1", "AJTO", "ABLAK", "30",
                                 "KI3 BE", "KI4 BE", "KI3 KI", "KI4 KI", "BE1 BE", "BE2 BE",
                                 "BE1 KI", "BE2 KI"};
    for (int i = 0; i < visible.size(); ++i)
        form.texts[i] = visible[i];
    for (int n = 0; n < 16; ++n)
        form.texts[28 + n] = QStringLiteral("3620%1").arg(1000000 + n);
    return form;
}

class Simulator
{
public:
    Simulator(const QString &program, bool paced)
    {
        m_process.setProgram(program);
        if (paced)
            m_process.setArguments({QStringLiteral("--paced")});
        m_process.start();
        m_process.waitForReadyRead(5000);
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Simulator()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
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
    buildContentRecord(sampleForm(), settings, RecordPurpose::Download);
    NoProgress progress;
    const double cpu = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const bool ok = downloadToModule(settings, progress);
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
        buildContentRecord(sampleForm(), settings, RecordPurpose::Verify);
    SerialLink link;
    link.open(port, UploadReadTimeoutMs);
    int reads = 0;
    const UploadAnswer answer = receiveUploadAnswer(link, settings.UploadCommand, [&reads] { return ++reads > 0; });
    link.close();
    const QString text = answerText(answer.bytes);
    const bool ok = verify ? text == settings.RecordText
                           : readModuleAnswer(text, initialFormValues()).error == AnswerError::None;
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
        Simulator sim(simulator, true);
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
        Simulator sim(simulator, false);
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
