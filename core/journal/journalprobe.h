#pragma once

#include <QByteArray>

// What a file at the journal's path holds, judged from its bytes alone,
// read through a descriptor: SQLite never opens it, so nothing is locked,
// checkpointed, made or changed in a file that turns out to be another
// program's. Empty: no bytes, or a SQLite database with no tables, views,
// indexes or triggers. Ours: a SQLite database with this program's mark (its
// journal_schema table). Foreign: anything else.
enum class JournalKind { Empty, Ours, Foreign };

JournalKind probeJournalFile(int fd);
// The same for a file's bytes in memory (for fuzzing).
JournalKind probeJournalBytes(const QByteArray &file);
