#pragma once

#include "journalentry.h"
#include "journallocation.h"

#include <QList>
#include <QString>

#include <optional>

// The provisioning journal, through Qt SQL: a SQLite file (WAL, a busy
// time-out, so that many ports and processes write at once) or a PostgreSQL
// database. A Journal belongs to the thread that opened it; every thread of a
// run opens its own. Entries are only ever added and completed once.
class Journal
{
public:
    static constexpr int SchemaVersion = 1;

    enum class Mode { Write, Read };

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

    struct Problem
    {
        Error error = Error::None;
        QString detail;       // the database's or the system's own words
        int foundVersion = 0; // for NewerSchema
    };

    // Opens the journal; for writing, it is made (with its folder, readable
    // by its owner only) or brought up to this program's schema first.
    explicit Journal(const JournalLocation &location, Mode mode = Mode::Write);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    bool isOpen() const { return m_problem.error == Error::None; }
    const Problem &problem() const { return m_problem; }

    // Records the start of an operation; the entry's new id, or 0.
    qint64 begin(const JournalEntry &entry);
    // Completes entry.id with its end; only an unfinished entry is completed.
    bool complete(const JournalEntry &entry);

    struct Filter
    {
        QString moduleId;
        QString name;       // within the module's name, any case
        QString port;
        QString operation;
        QString result;     // a result name, or "unfinished"
        QString unit;
        QString idOrName;   // the module's identifier, or within its name
        std::optional<qint64> sinceMs;
        std::optional<qint64> untilMs;
        int limit = 100;    // 0: every entry
        bool withContent = false;
    };
    // Newest first.
    QList<JournalEntry> find(const Filter &filter);
    // One entry in full.
    std::optional<JournalEntry> entry(qint64 id);

private:
    bool openSqlite(const JournalLocation &location, Mode mode);
    bool openPostgres(const JournalLocation &location);
    bool prepareSchema(Mode mode);
    void fail(Error error, const QString &detail);

    QString m_connection;
    bool m_postgres = false;
    Problem m_problem;
};
