#pragma once

#include "outputfile.h"

#include <QString>

// The folders the program writes into are its user's: it runs as root in
// folders others share, and a folder another user owns, or may write in,
// lets her put a link or a file of hers where ours is about to go.
//
// A folder is trusted when it is a folder (not a link at its name), belongs
// to the user running the program, and no one else may make or remove names
// in it unless its sticky bit stops them touching ours.
FileError judgeOwnFolder(const QString &path);

// Makes `path` and every folder above it that is missing, each 0700, and
// judges the folder as above; the folder it is made in must be its user's
// or root's, open to others only with the sticky bit (/tmp).
FileError makeOwnFolder(const QString &path);

// The program's own folder for its state (the journal's): made 0700, and
// when it is there already, ours and made 0700 again.
FileError makePrivateFolder(const QString &path);
