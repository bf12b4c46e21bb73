#pragma once

#include "journalentry.h"

#include <QString>

// Why a journal takes no entries, or cannot be read.
struct JournalProblem
{
    enum class Error {
        None,
        NoDriver,     // Qt's driver for the database is not installed
        CannotCreate, // the file or its folder cannot be made
        Missing,      // nothing there to read
        CannotOpen,   // the database refused the connection
        ReadOnly,     // the journal takes no new entries
        NewerSchema,  // made by a newer program
        WriteFailed,  // an entry could not be written
        Relative,     // a file named by a relative path: detail, the absolute one it would mean
        DiskFull,     // the disk holds no more
        Damaged,      // a SQLite file that cannot be read as a database
        NotAJournal,  // another program's database, or no database at all: left as it was
        OtherOwner,   // another user's file: detail, its owner
        FolderOwner,  // in a folder of another user: detail, the folder's owner
        OpenFolder,   // in a folder others may write in without the sticky bit: detail, the folder
        ClaimLost,    // the unit's claim is no longer this run's: nothing about it is taken
        Link,         // a symbolic link at the journal's name: not followed
        SideFile,     // a -wal, -shm or -journal beside it that is not its owner's alone: detail, its name
    };
    Error error = Error::None;
    QString detail;       // the database's or the system's own words
    int foundVersion = 0; // for NewerSchema
};

// What takes the entries of operations: the journal itself on the thread
// that opened it, or the one writer that all the ports of a run share.
class JournalSink
{
public:
    virtual ~JournalSink() = default;
    // Records the start of an operation; the entry's new id, or 0.
    virtual qint64 begin(const JournalEntry &entry) = 0;
    // Completes entry.id with its end; only an unfinished entry is completed.
    virtual bool complete(const JournalEntry &entry) = 0;
    virtual JournalProblem problem() const = 0;
};
