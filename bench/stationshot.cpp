// The guide's pictures of the station, drawn without a display: four ports
// in four states (proven with its label, failed with the fields that differ,
// a download under way, a module not swapped); the watch view over a journal
// two benches wrote; and the shift report's page from the same journal.
//
//   stationshot FILE.png [en] [--watch | --report]

#include "core/content/contentfile.h"
#include "core/content/contentedit.h"
#include "core/content/datafiles.h"
#include "core/content/manifest.h"
#include "core/journal/journal.h"
#include "core/journal/journallocation.h"
#include "core/journal/journalentry.h"
#include "core/journal/journalreason.h"
#include "core/provisioning/shiftreport.h"
#include "gui/texts/windowtexts.h"
#include "labels/shiftreportpage.h"
#include "labels/language.h"
#include "gui/station/portrunner.h"
#include "gui/station/porttile.h"
#include "gui/station/stationwindow.h"

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A morning of two benches on the manifest: proofs every few minutes, each
// with its row's content, and a failure.
void writeMorning(const QString &path, const QString &manifestPath, const FormValues &example)
{
    QFile file(manifestPath);
    file.open(QIODevice::ReadOnly);
    const Manifest manifest = readManifest(file, example, LinkSettings{});
    Journal journal(parseJournalDestination(path));
    const qint64 start = QDateTime::currentMSecsSinceEpoch() - 50 * 60 * 1000;
    for (int u = 41; u <= 49; ++u) {
        FormValues form = example;
        applyAssignments(form, manifest.units.value(u - 41).assignments, {}, EditCheck::ValueOnly);
        JournalEntry entry = startEntry(JournalName::Provision, QStringLiteral("/dev/ttyUSB%1").arg(u % 4));
        entry.station = u % 3 == 0 ? QStringLiteral("bench-2") : QStringLiteral("bench-1");
        entry.unit = QStringLiteral("gate-00%1").arg(u);
        entry.content = ContentFile::serialize(form);
        entry.startedMs = start + (u - 41) * 5 * 60 * 1000;
        entry.id = journal.begin(entry);
        entry.result = u == 45 ? JournalName::Failed : JournalName::Ok;
        entry.reason = u == 45 ? JournalReason::Mismatch : QString();
        entry.endedMs = entry.startedMs + 22 * 1000;
        journal.complete(entry);
    }
}

int tiles(StationWindow &window, const QString &manifest)
{
    if (!window.open(manifest, {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1"), QStringLiteral("ttyUSB2"),
                                QStringLiteral("ttyUSB3")}, QStringLiteral("backups")))
        return 1;
    while (window.isOpening())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (window.portCount() != 4)
        return 1;
    PortTurn proven, failed, swapped;
    for (PortTurn *turn : {&proven, &failed, &swapped})
        turn->kind = ClaimedUnit::Kind::Taken;
    StepOutcome verify;
    verify.stage = Stage::Verify;
    verify.reason = QStringLiteral("mismatch");
    verify.differences = {{QStringLiteral("m_nev"), QStringLiteral("KAPU 42"), QStringLiteral("ABLAK")},
                          {QStringLiteral("tc4_1"), QStringLiteral("1"), QStringLiteral("0")}};
    proven.outcome.state = UnitState::Proven;
    failed.outcome.state = UnitState::Failed;
    failed.outcome.steps << verify;
    swapped.outcome.state = UnitState::NotSwapped;
    swapped.outcome.heldUnit = QStringLiteral("gate-0040");
    const char *const units[] = {"gate-0041", "gate-0042", "gate-0043", "gate-0044"};
    for (int port = 0; port < 4; ++port)
        window.tile(port)->showClaimed(QString::fromLatin1(units[port]));
    window.tile(0)->showTurn(proven);
    window.tile(0)->addNote(QStringLiteral("Címke: gate-0041-17.pdf"));
    window.tile(1)->showTurn(failed);
    window.tile(2)->showProgress(Stage::Download, 412, 754);
    window.tile(3)->showTurn(swapped);
    return 0;
}

// The page as the preview shows it, at 110 dots an inch.
bool savePage(const SheetPage &page, const QString &path)
{
    constexpr double DotsPerMm = 110 / 25.4;
    QImage image(int(210 * DotsPerMm), int(297 * DotsPerMm), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSheet(painter, QRectF(0, 0, image.width(), image.height()), page, DotsPerMm);
    painter.end();
    return image.copy(0, 0, image.width(), image.height() / 2).save(path);  // the half that holds it
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool watch = args.removeAll(QStringLiteral("--watch")) > 0;
    const bool report = args.removeAll(QStringLiteral("--report")) > 0;
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: stationshot FILE.png [en] [--watch | --report]\n");
        return 2;
    }
    const QString output = QFileInfo(args[0]).absoluteFilePath();
    Language::install(args.value(1));
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());  // the summary line names the files as a technician would give them
    QFile manifest(QStringLiteral("units.csv"));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("unit,m_nev,m_id\n");
    for (int u = 41; u <= 52; ++u)
        manifest.write(QStringLiteral("gate-00%1,KAPU %1,00%1\n").arg(u).toUtf8());
    manifest.close();
    const QString journalPath = dir.filePath(QStringLiteral("journal.sqlite"));
    const FormValues example = ContentFile::load(dataFilePath(QStringLiteral("example.t16")), initialFormValues()).values;
    if (watch || report)
        writeMorning(journalPath, manifest.fileName(), example);
    if (report) {
        QStringList units;
        for (int u = 41; u <= 52; ++u)
            units << QStringLiteral("gate-00%1").arg(u);
        Journal journal(parseJournalDestination(journalPath), Journal::Mode::Read);
        const ShiftReport made = shiftReport(units, journal.provisionings(0, {}), {});
        const ShiftReportHeading heading{QStringLiteral("units.csv"), std::nullopt, {}, QDateTime::currentMSecsSinceEpoch()};
        return savePage(shiftReportPage(made, heading, WindowText::journalReason), output) ? 0 : 1;
    }
    StationWindow window(example, LinkSettings{}, parseJournalDestination(journalPath), DeviceLookup{}, nullptr);
    if (watch) {
        if (!window.open(manifest.fileName(), {}, {}))
            return 1;
        QLabel *counts = window.findChild<QLabel *>(QStringLiteral("counts"));
        while (window.isOpening() || !counts->text().contains(QStringLiteral("bench-2")))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    } else if (const int failed = tiles(window, manifest.fileName())) {
        return failed;
    }
    window.resize(920, 640);
    window.show();
    QApplication::processEvents();
    return window.grab().save(output) ? 0 : 1;
}
