#pragma once

#include "core/content/contentfile.h"
#include "core/storage/outputfile.h"
#include "moduleoperations.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// A module's content read up into a content file: what `readup -o` writes,
// and the backup kept of a module before it is written. The file is made
// ready before the port is touched, so that a folder that cannot take it
// costs the module nothing.

struct FileReadup
{
    ReadupOutcome read;
    std::optional<ContentFile::SaveProblem> unsavable;  // module content a content file cannot hold
    FileError fileError;                                // the disk did not take the file

    // The module was read and the file is whole on the disk.
    bool kept() const { return read.ending == Ending::Done && !unsavable && !fileError; }
};

// Reads the module up into `file`, which is committed only when the whole
// content is in it.
FileReadup readUpToFile(OutputFile &file, SerialLink &link, const LinkSettings &settings, UploadWatcher &watcher);

// "<folder>/gate-0041-1234.t16": what a module held, kept by the unit (or
// port) and the backup's journal entry; without a journal, by the UTC time.
// Backups are made with OutputFile::Placement::Keep and mode 0600: they hold
// PINs, and no name is ever replaced.
QString backupPath(const QString &folder, const QString &name, qint64 entry);
// The backup's file before its entry is known.
std::unique_ptr<OutputFile> makeBackupFile(const QString &folder, const QString &name);
