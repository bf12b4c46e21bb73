#pragma once

#include "core/storage/outputfile.h"

#include <QByteArray>

// Standard output, where results go, with every write checked: a full disk,
// a closed pipe or a closed descriptor is an error, not a silent success.
namespace StandardOutput {

// Called once at start. A closed standard output stays closed to us: its
// number goes to /dev/null, so that no file opened later (a port, a lock)
// takes it and receives results, and every write counts as failed.
void guard();
// Whether results can go there at all; false once a write has failed.
bool isUsable();
bool write(const QByteArray &bytes);
// Flushes what is pending; the first error of a write of the run, if any.
FileError finish();

} // namespace StandardOutput
