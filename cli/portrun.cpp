#include "portrun.h"

#include "phrases.h"
#include "core/link/lineinterrupt.h"
#include "core/operations/transferrunner.h"

#include <QElapsedTimer>
#include <QEventLoop>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <unistd.h>

struct ProgressBars::State
{
    std::mutex mutex;
    bool shown = false;
    QStringList ports;
    QStringList lines;
    QElapsedTimer sinceDrawn;

    void draw(bool first)
    {
        QByteArray out;
        if (!first)
            out += "\x1b[" + QByteArray::number(lines.size()) + "A";
        for (const QString &line : std::as_const(lines))
            out += "\r\x1b[2K" + line.toLocal8Bit() + "\n";
        std::fwrite(out.constData(), 1, size_t(out.size()), stderr);
        std::fflush(stderr);
        sinceDrawn.start();
    }
};

ProgressBars::ProgressBars(const QStringList &ports, bool shown)
    : d(std::make_unique<State>())
{
    d->shown = shown && ::isatty(STDERR_FILENO);
    d->ports = ports;
    for (const QString &port : ports)
        d->lines << port;
    if (d->shown)
        d->draw(true);
}

ProgressBars::~ProgressBars()
{
    if (d->shown)
        d->draw(false);
}

void ProgressBars::update(int row, const QString &stage, int value, int maximum)
{
    if (!d->shown)
        return;
    constexpr int Width = 30;
    const int filled = maximum > 0 ? std::clamp(value * Width / maximum, 0, Width) : 0;
    const int percent = maximum > 0 ? std::clamp(value * 100 / maximum, 0, 100) : 0;
    const std::lock_guard lock(d->mutex);
    d->lines[row] = QStringLiteral("%1  %2 [%3%4] %5%")
                        .arg(Phrase::shown(d->ports[row]), stage.leftJustified(8))
                        .arg(QString(filled, QLatin1Char('#')), QString(Width - filled, QLatin1Char('.')))
                        .arg(percent, 3);
    // At most ten times a second, and always at the end of a bar.
    if (d->sinceDrawn.hasExpired(100) || value >= maximum)
        d->draw(false);
}

namespace {

LineInterrupt *runningInterrupt = nullptr;

void onInterrupt(int)
{
    if (runningInterrupt)
        runningInterrupt->trigger();  // an atomic store and a write(): safe here
}

} // namespace

QList<Result> runOnPorts(const QStringList &ports, bool showProgress, const PortJob &job)
{
    LineInterrupt interrupt;
    runningInterrupt = &interrupt;
    // Ctrl+C, and a terminal or a service manager that ends the run, end
    // every transfer the same way; a second signal ends the program.
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    const int endSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous[std::size(endSignals)] {};
    for (size_t i = 0; i < std::size(endSignals); ++i)
        ::sigaction(endSignals[i], &action, &previous[i]);

    QList<Result> results(ports.size());
    {
        // Each port on a runner of its own, as the station's ports run.
        ProgressBars bars(ports, showProgress);
        std::vector<std::unique_ptr<TransferRunner>> runners;
        QEventLoop loop;
        qsizetype running = ports.size();
        for (int row = 0; row < ports.size(); ++row) {
            runners.push_back(std::make_unique<TransferRunner>());
            runners.back()->start([&, row] { results[row] = job(row, ports[row], interrupt, bars); }, [&] {
                if (--running == 0)
                    loop.quit();
            });
        }
        if (running > 0)
            loop.exec();
    }
    for (size_t i = 0; i < std::size(endSignals); ++i)
        ::sigaction(endSignals[i], &previous[i], nullptr);
    runningInterrupt = nullptr;
    return results;
}
