#pragma once

#include "core/content/manifest.h"
#include "core/content/manifestfile.h"
#include "core/journal/journallocation.h"
#include "core/journal/journalsink.h"
#include "core/settings/linksettings.h"
#include "core/storage/outputfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class SharedJournal;

// What a station's batch starts from: the choices of its set-up and the
// template as it stands when the batch starts.
struct BatchChoice
{
    QString manifestPath;
    QStringList ports;
    QString backupFolder;  // empty: new modules, written without a backup
    FormValues templateForm;
    LinkSettings settings;
    JournalLocation journal;
    // No ports: a view of the manifest's progress across every station,
    // which writes nothing, so the journal is not opened to write.
    bool watchOnly = false;
};

// A batch ready to run, or why it is not: the manifest read and every row
// checked, the journal opened, the backup folder made. It reads files and
// waits on the database, so a window asks for it off its own thread.
struct OpenedBatch
{
    enum class Problem { None, NoJournal, ManifestUnreadable, ManifestProblems, Journal, BackupFolder };
    Problem problem = Problem::None;
    ManifestBytes::Problem unreadable = ManifestBytes::Problem::None;
    int error = 0;                      // errno, for an unreadable manifest
    QList<ManifestProblem> manifestProblems;
    JournalProblem journalProblem;
    FileError folderError;              // for BackupFolder
    QList<ManifestUnit> units;
    QList<QList<int>> candidates;       // each port's units, in the manifest's order
    std::shared_ptr<SharedJournal> journal;
};
OpenedBatch openBatch(const BatchChoice &choice);
