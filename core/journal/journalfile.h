#pragma once

#include "journalsink.h"

#include <QString>

// The journal's file is the program's own and no one else's: it is named by
// an absolute path and never through a link; it, its side files and its
// folder belong to the user running the program (a folder others may write
// in only with the sticky bit); it is made 0600 whatever the umask, and
// mended to 0600 (through its descriptor) when it is readable by others.
// Another user's file, and a file that is not this program's journal nor
// empty (judged with its -wal), are never touched: not their mode, not
// their side files.
struct JournalFile
{
    JournalProblem problem;   // error None: the file may be opened
    QString path;             // the file itself
    int mendedFromMode = -1;  // the mode it had when it was made private
};

// `create`: make the file when it is not there.
JournalFile prepareJournalFile(const QString &path, bool create);

// A SQLite error's kind, from its code: a full disk, a damaged file, a
// read-only one, or `otherwise`.
JournalProblem::Error sqliteErrorKind(const QString &nativeCode, JournalProblem::Error otherwise);
