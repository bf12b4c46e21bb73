// A journal of a million entries: how big it is, how fast
// `tavir340-cli journal --module-id` answers, how soon the window's journal
// view is up and counted, how the window answers while a filter searches,
// and how long an export of every entry takes.
//
//   journalbench [entries] [path/to/bin]   (default 1000000; the folder holding tavir340-cli)

#include "benchsupport.h"
#include "core/content/contentfile.h"
#include "core/journal/journal.h"
#include "gui/dialogs/filedialog.h"
#include "gui/journal/journalview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdio>
#include <functional>

namespace {

constexpr int Modules = 10000;  // a station's whole life of modules, each written many times

void waitFor(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

// Fills the journal in one transaction, as a long working life would have.
bool fill(const QString &path, int count)
{
    {
        Journal made(parseJournalDestination(path));
        if (!made.isOpen())
            return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    db.setDatabaseName(path);
    bool ok = db.open();
    QSqlQuery query(db);
    ok = ok && query.exec(QStringLiteral("BEGIN"));
    ok = ok && query.prepare(QStringLiteral(
        "INSERT INTO entries (started_at, ended_at, station, user_name, program, version, pid, operation, port, device,"
        " module_id, module_name, content, record_sha256, file, result, exit_code, bytes_sent, bytes_received)"
        " VALUES (?, ?, 'station1', 'technician', 'tavir340-cli', '1.4', 4711, ?, 'ttyUSB0', '/dev/ttyUSB0',"
        " ?, ?, ?, ?, '/home/technician/sites/site.t16', ?, 0, 754, 4)"));
    FormValues form = benchForm();
    const qint64 start = 1'700'000'000'000;
    const char *const operations[] = {"download", "verify", "readup", "backup"};
    for (int i = 0; ok && i < count; ++i) {
        const QString id = QStringLiteral("%1").arg(i % Modules, 4, 10, QLatin1Char('0'));
        form.texts[2] = id;
        form.texts[3] = QStringLiteral("SITE %1").arg(i % Modules);
        query.addBindValue(start + qint64(i) * 7000);
        query.addBindValue(start + qint64(i) * 7000 + 6300);
        query.addBindValue(QLatin1String(operations[i % 4]));
        query.addBindValue(id);
        query.addBindValue(form.texts[3]);
        query.addBindValue(ContentFile::serialize(form));
        query.addBindValue(QStringLiteral("%1").arg(i, 64, 16, QLatin1Char('0')));
        query.addBindValue(i % 50 == 0 ? QStringLiteral("failed") : QStringLiteral("ok"));
        ok = query.exec();
    }
    ok = ok && query.exec(QStringLiteral("COMMIT"));
    query.finish();
    db.close();
    return ok;
}

// The window's view: how soon its first page and its count are up, how long
// the window's own events wait while a filter searches every entry, and an
// export of all of them.
void viewBench(Journal &journal, const QString &csv)
{
    QElapsedTimer clock;
    clock.start();
    journalView view(journal.location(), nullptr);
    view.show();
    waitFor([&] { return view.table()->rowCount() > 0; });
    const double firstPage = clock.nsecsElapsed() / 1e6;
    waitFor([&] { return view.matching() >= 0; });
    std::printf("journal view: %lld rows up in %.1f ms; %lld entries counted in %.1f ms\n", qint64(view.table()->rowCount()),
                firstPage, view.matching(), clock.nsecsElapsed() / 1e6);

    // A name no entry has: the page and the count read every entry.
    {
        const EventLoopGaps gaps;
        clock.restart();
        QTest::keyClicks(view.findChild<QLineEdit *>(QStringLiteral("filter")), QStringLiteral("nowhere"));
        waitFor([&] { return view.matching() == 0; });
        std::printf("filter through every entry: %.0f ms; the window waited at most %.1f ms for its events (10 ms ticks)\n",
                    clock.nsecsElapsed() / 1e6, gaps.worstMs());
    }

    view.findChild<QLineEdit *>(QStringLiteral("filter"))->clear();
    waitFor([&] { return view.matching() > 0; });
    FileDialog::answerNext(csv);
    clock.restart();
    view.findChild<QPushButton *>(QStringLiteral("export"))->click();
    std::printf("export of every entry: %.1f s, %.1f MB\n", clock.nsecsElapsed() / 1e9, QFileInfo(csv).size() / 1e6);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    const QString bin = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));

    QElapsedTimer clock;
    clock.start();
    if (!fill(path, count)) {
        std::fprintf(stderr, "journalbench: cannot fill %s\n", qPrintable(path));
        return 1;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    const qint64 size = QFileInfo(path).size();
    std::printf("%d entries written in %.1f s; file %.1f MB, %.0f bytes an entry\n", count, clock.nsecsElapsed() / 1e9,
                size / 1e6, double(size) / count);

    // The query itself, in the program, and the whole command as a script runs it.
    Journal journal(parseJournalDestination(path), Journal::Mode::Read);
    Journal::Filter byModule;
    byModule.moduleId = QStringLiteral("0042");
    byModule.limit = 50;
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        clock.restart();
        const int found = int(journal.find(byModule).size());
        best = std::min(best, clock.nsecsElapsed() / 1e6);
        if (found != std::min(50, count / Modules))
            std::fprintf(stderr, "journalbench: %d entries of module 0042\n", found);
    }
    std::printf("journal --module-id 0042: query %.2f ms (best of 5)", best);
    QProcess cli;
    clock.restart();
    cli.start(bin + QStringLiteral("/tavir340-cli"), {QStringLiteral("journal"), QStringLiteral("--module-id"), QStringLiteral("0042"),
                                                     QStringLiteral("--journal"), path});
    cli.waitForFinished();
    std::printf(", whole command %.1f ms (exit %d, %lld lines)\n", clock.nsecsElapsed() / 1e6, cli.exitCode(),
                qint64(cli.readAllStandardOutput().count('\n')));

    viewBench(journal, dir.filePath(QStringLiteral("export.csv")));
    return 0;
}
