#include "batchrefusal.h"

#include "core/provisioning/batchopening.h"
#include "gui/dialogs/messagebox.h"
#include "gui/texts/windowtexts.h"
#include "stationtexts.h"

#include <QCoreApplication>

namespace {

// The station's texts, in the context they are translated in.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(StationWindow)
};

} // namespace

bool sayWhyNotOpened(QWidget *station, const OpenedBatch &opened, const QString &manifestPath, const QString &backupFolder,
                     const LinkSettings &settings, const JournalLocation &location)
{
    using Problem = OpenedBatch::Problem;
    switch (opened.problem) {
    case Problem::None:
        return false;
    case Problem::NoJournal:
        Message::critical(station, Texts::tr("Állomás"), Texts::tr("Az állomás csak naplóval dolgozik: a napló tudja, mely egységek készek."));
        return true;
    case Problem::ManifestUnreadable: {
        ManifestBytes read;
        read.problem = opened.unreadable;
        read.error = opened.error;
        Message::critical(station, Texts::tr("Állomás"), Texts::tr("A manifest nem olvasható: %1").arg(manifestPath),
                          WindowText::fileBytesProblem(read, true));
        return true;
    }
    case Problem::ManifestProblems: {
        QStringList problems;
        for (const ManifestProblem &problem : opened.manifestProblems)
            problems << StationText::manifestProblem(problem, settings.DownloadSeparator);
        Message::critical(station, Texts::tr("Állomás"), Texts::tr("A manifest hibás (%1 hiba), egyetlen egység sem lett elküldve.").arg(problems.size()),
                          problems.join(QLatin1Char('\n')));
        return true;
    }
    case Problem::Journal:
        Message::critical(station, Texts::tr("Állomás"), WindowText::journalUnavailable(location.shownName(), opened.journalProblem));
        return true;
    case Problem::BackupFolder:
        Message::critical(station, Texts::tr("Állomás"), Texts::tr("A mentések mappája nem használható: %1 (%2)").arg(backupFolder, WindowText::fileError(opened.folderError)));
        return true;
    }
    return true;
}

