#pragma once

#include "journalsink.h"

#include <QString>

// The journal's file is the program's own and no one else's: it is named by
// an absolute path and never through a link, made 0600 whatever the umask,
// mended to 0600 (through its descriptor) when it is readable by others
// (refused when it is another user's), and its side files must be its
// owner's alone. A file that is not this program's journal, nor empty, is
// never touched: not its mode, not its side files.
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
