#pragma once

#include <QByteArray>

// What a file at the journal's path holds, judged from its bytes alone,
// read through a descriptor: SQLite never opens it, so nothing is locked,
// checkpointed, made or changed in a file that turns out to be another
// program's. Empty: no bytes, or a SQLite database with no tables, views,
// indexes or triggers. Ours: a SQLite database with this program's mark (its
// journal_schema table). Foreign: anything else.
//
// A database in WAL mode may hold its newest pages, its schema among them,
// in its -wal file alone: the pages committed there are read in place of
// the file's own, so that such a database is judged as SQLite would see it.
enum class JournalKind { Empty, Ours, Foreign };

// `walFd`: the -wal beside it, or -1.
JournalKind probeJournalFile(int fd, int walFd = -1);
// The same for the bytes in memory (for fuzzing).
JournalKind probeJournalBytes(const QByteArray &file, const QByteArray &wal = {});
