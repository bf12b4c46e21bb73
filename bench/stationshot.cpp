// The README's picture of the station: four ports in four states (proven
// with its label, failed with the fields that differ, a download under way,
// a module not swapped), drawn without a display.
//
//   stationshot FILE.png [en]

#include "core/content/contentfile.h"
#include "core/content/datafiles.h"
#include "core/journal/journallocation.h"
#include "labels/language.h"
#include "gui/station/portrunner.h"
#include "gui/station/porttile.h"
#include "gui/station/stationwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: stationshot FILE.png [en]\n");
        return 2;
    }
    Language::install(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());  // the summary line names the files as a technician would give them
    QFile manifest(QStringLiteral("units.csv"));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("unit,m_nev,m_id\n");
    for (int u = 41; u <= 52; ++u)
        manifest.write(QStringLiteral("gate-00%1,KAPU %1,00%1\n").arg(u).toUtf8());
    manifest.close();
    const FormValues example = ContentFile::load(dataFilePath(QStringLiteral("example.t16")), initialFormValues()).values;
    StationWindow window(example, LinkSettings{}, parseJournalDestination(dir.filePath(QStringLiteral("journal.sqlite"))),
                         DeviceLookup{}, nullptr);
    if (!window.open(manifest.fileName(), {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1"), QStringLiteral("ttyUSB2"),
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
    window.resize(920, 640);
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
