#pragma once

#include "core/content/contentfile.h"
#include "core/storage/outputfile.h"
#include "moduleoperations.h"

#include <QDateTime>
#include <QString>

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

// "<folder>/ttyUSB0-20261208T101500Z.t16": a backup by the port and the time.
QString backupPath(const QString &folder, const QString &port, const QDateTime &time);
