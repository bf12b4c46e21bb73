// The three transfers as a technician runs them: through the window's menu
// slots, with the real progress dialogs, against tavir340-sim at the true
// 1200 baud pace. Prints each one's wall time, the processor time the
// whole program spent meanwhile (drawing the bars included), and the
// longest the window's events waited: the largest gap between the ticks of
// a 10 ms timer (the target is 50 ms at most).
//
//   windowbench [path/to/tavir340-sim]     (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "gui/mainwindow.h"
#include "benchsupport.h"
#include "gui/form/formbinding.h"
#include "gui/transfer/dload.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
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
        const double wall = clock.nsecsElapsed() / 1e9;
        const double used = processCpuSeconds() - cpu;
        const bool ok = answerer.outcome == QString::fromUtf8(transfer.success);
        std::printf("%-9s %8.3f %8.1f %7.2f %9.1f%s\n", transfer.name, wall, used * 1000, 100 * used / wall, gaps.worstMs(),
                    ok ? "" : qPrintable(QStringLiteral("  FAILED: ") + answerer.outcome.replace('\n', ' ')));
        allOk = allOk && ok;
    }
    return allOk ? 0 : 1;
}
