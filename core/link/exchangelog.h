#pragma once

#include "core/storage/outputfile.h"

#include <QByteArray>
#include <QString>

#include <functional>

// A record of every byte on the line, for when a line misbehaves: one line
// per burst of bytes in one direction,
//
//      1234 ms  ttyUSB0  >  7E 7D  |~}|
//
// milliseconds since the log was started, the port, ">" towards the module
// or "<" from it, the bytes in hex, and as text with "." for what is not
// printable. One log serves every port and thread of the program.
namespace ExchangeLog {

// Starts writing to `path`; the file is put in place by stop(). An error when
// the file cannot be made.
FileError start(const QString &path);
// Starts handing every line to `writer` instead, under the log's own lock.
void startWith(std::function<void(const QByteArray &line)> writer);
// Ends the log; an error when it did not reach the disk whole.
FileError stop();
bool isActive();
// Milliseconds since start(), for the start of a burst.
qint64 elapsedMs();
void write(const QString &port, bool toModule, qint64 atMs, const QByteArray &bytes);
// One line of the log, as write() puts it.
QByteArray formatLine(const QString &port, bool toModule, qint64 atMs, const QByteArray &bytes);

} // namespace ExchangeLog
