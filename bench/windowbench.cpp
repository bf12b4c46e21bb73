// The three transfers as a technician runs them: through the window's menu
// slots, with the real progress dialogs, against tavir340-sim at the true
// 1200 baud pace. Prints each one's wall time, the processor time the
// whole program spent meanwhile (drawing the bars included), and the
// longest the window's events waited: the largest gap between the ticks of
// a 10 ms timer (the target is 50 ms at most). Then the same wait while
// another program holds the journal for three seconds: during "Változások"
// and while the station opens.
//
//   windowbench [path/to/tavir340-sim]     (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "gui/mainwindow.h"
#include "benchsupport.h"
#include "core/journal/journal.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "gui/station/stationwindow.h"
#include "gui/transfer/dload.h"
#ifdef JOURNALHOLDER
#include "../tests/heldjournal.h"
#endif

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Answers whatever the transfer shows at its end, at once, so that only the
// transfer itself is measured: a message box's OK, and the download dialog
// as soon as it has reported.
class Answerer : public QObject
{
public:
    Answerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                outcome = box->text();
                box->button(QMessageBox::Ok)->click();
            } else if (auto *dialog = qobject_cast<dload *>(modal)) {
                if (dialog->statusLabel()->text() != QStringLiteral("Betöltés...")) {
                    outcome = dialog->statusLabel()->text();
                    dialog->accept();
                }
            }
        });
        m_timer.start(20);
    }
    QString outcome;

private:
    QTimer m_timer;
};

// Serves the window's events until `done` says so.
void serveUntil(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    ask.start(10);
    loop.exec();
}

// The longest wait of the window's events while another program holds the
// journal for three seconds: "Változások" asks it, then the station opens
// a batch on it.
void heldJournal(MainWindow &window)
{
#ifndef JOURNALHOLDER
    Q_UNUSED(window);
    std::printf("journal held by another program: skipped (built without the tests' journalholder)\n");
#else
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    { Journal made(parseJournalDestination(path)); }
    window.setJournalLocation(parseJournalDestination(path));
    Answerer answerer;
    double changes = 0, station = 0;
    {
        HeldJournal held(path, 3000);
        const EventLoopGaps gaps;
        QElapsedTimer clock;
        clock.start();
        window.form().actionChanges->trigger();
        serveUntil([&window] { return !window.isBusy(); });
        changes = gaps.worstMs();
        std::printf("Változások answered in %.1f s: %s\n", clock.elapsed() / 1000.0, qPrintable(answerer.outcome));
    }
    QFile manifest(dir.filePath(QStringLiteral("units.csv")));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("unit,m_nev\nu1,KAPU\n");
    manifest.close();
    const QString stationPath = dir.filePath(QStringLiteral("station.sqlite"));  // held by no connection of the window's
    { Journal made(parseJournalDestination(stationPath)); }
    {
        StationWindow opening(benchForm(), LinkSettings{}, parseJournalDestination(stationPath), DeviceLookup{}, nullptr);
        opening.show();
        HeldJournal held(stationPath, 3000);
        const EventLoopGaps gaps;
        QElapsedTimer clock;
        clock.start();
        opening.open(manifest.fileName(), {QStringLiteral("ttyUSB0")}, QString());
        serveUntil([&opening] { return !opening.isOpening(); });
        station = gaps.worstMs();
        std::printf("the station opened in %.1f s, with %d port\n", clock.elapsed() / 1000.0, opening.portCount());
    }
    std::printf("journal held 3 s by another program: longest event-loop wait %.1f ms during Változások,"
                " %.1f ms while the station opens (target <= 50 ms)\n", changes, station);
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString simulator = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                       : QCoreApplication::applicationDirPath() + QStringLiteral("/tavir340-sim");
    if (!QFileInfo(simulator).isExecutable()) {
        std::fprintf(stderr, "windowbench: no simulator at %s\n", qPrintable(simulator));
        return 2;
    }

    SimulatorProcess sim(simulator, {QStringLiteral("--paced")});
    MainWindow window;
    window.show();
    writeForm(window.centralWidget(), benchForm());
    window.linkSettings().Port = sim.path();

    const struct { const char *name; void (MainWindow::*slot)(); const char *success; } transfers[] = {
        {"download", &MainWindow::download, "Sikeres betöltés."},
        {"read-up", &MainWindow::readup, ""},
        {"verify", &MainWindow::verify_func, "Sikeres ellenőrzés."},
    };
    std::printf("Through the window, paced at 1200 baud (%s):\n", qPrintable(QGuiApplication::platformName()));
    std::printf("%-9s %8s %8s %7s %9s\n", "transfer", "wall s", "cpu ms", "cpu %", "stall ms");
    bool allOk = true;
    for (const auto &transfer : transfers) {
        Answerer answerer;
        const EventLoopGaps gaps;
        const double cpu = processCpuSeconds();
        QElapsedTimer clock;
        clock.start();
        (window.*transfer.slot)();
        serveUntil([&window] { return !window.isBusy(); });
        const double wall = clock.nsecsElapsed() / 1e9;
        const double used = processCpuSeconds() - cpu;
        const bool ok = answerer.outcome == QString::fromUtf8(transfer.success);
        std::printf("%-9s %8.3f %8.1f %7.2f %9.1f%s\n", transfer.name, wall, used * 1000, 100 * used / wall, gaps.worstMs(),
                    ok ? "" : qPrintable(QStringLiteral("  FAILED: ") + answerer.outcome.replace('\n', ' ')));
        allOk = allOk && ok;
    }
    heldJournal(window);
    return allOk ? 0 : 1;
}
