#include "batchopening.h"

#include "core/storage/ownfolder.h"

#include "core/journal/sharedjournal.h"
#include "core/storage/outputfile.h"
#include "unitchoice.h"

#include <QBuffer>

OpenedBatch openBatch(const BatchChoice &choice)
{
    OpenedBatch opened;
    // Without a journal a station could not know which units are done.
    if (choice.journal.kind == JournalLocation::Kind::Off) {
        opened.problem = OpenedBatch::Problem::NoJournal;
        return opened;
    }
    ManifestBytes read = readManifestBytes(choice.manifestPath);
    if (read.problem != ManifestBytes::Problem::None) {
        opened.problem = OpenedBatch::Problem::ManifestUnreadable;
        opened.unreadable = read.problem;
        opened.error = read.error;
        return opened;
    }
    QBuffer file(&read.bytes);
    file.open(QIODevice::ReadOnly);
    Manifest manifest = readManifest(file, choice.templateForm, choice.settings);
    if (!manifest.problems.isEmpty()) {
        opened.problem = OpenedBatch::Problem::ManifestProblems;
        opened.manifestProblems = std::move(manifest.problems);
        return opened;
    }
    if (choice.watchOnly) {
        opened.units = std::move(manifest.units);
        return opened;
    }
    auto journal = std::make_shared<SharedJournal>(choice.journal);
    if (!journal->isOpen()) {
        opened.problem = OpenedBatch::Problem::Journal;
        opened.journalProblem = journal->problem();
        return opened;
    }
    if (!choice.backupFolder.isEmpty() && (opened.folderError = makeOwnFolder(choice.backupFolder))) {
        opened.problem = OpenedBatch::Problem::BackupFolder;
        return opened;
    }
    opened.units = std::move(manifest.units);
    opened.candidates = chooseUnits(opened.units, choice.ports, false);
    opened.journal = std::move(journal);
    return opened;
}
