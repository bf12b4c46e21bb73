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
