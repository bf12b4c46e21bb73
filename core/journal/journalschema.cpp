// The journal's tables: made where there are none, and brought up from an
// earlier version in one transaction.
#include "journal.h"

#include "journalrules.h"

#include "journalclock.h"
#include "journalentry.h"
#include "journalfile.h"

#include <QStringList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString schema(bool postgres)
{
    const QString id = postgres ? QStringLiteral("BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY")
                                : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QString bytes = postgres ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS entries ("
               " id %1,"
               " started_at BIGINT NOT NULL, ended_at BIGINT,"
               " station TEXT NOT NULL, user_name TEXT NOT NULL, program TEXT NOT NULL, version TEXT NOT NULL,"
               " pid BIGINT NOT NULL, operation TEXT NOT NULL, unit TEXT,"
               " port TEXT NOT NULL, device TEXT, by_id TEXT, usb_serial TEXT,"
               " module_id TEXT, module_name TEXT, content %2, record_sha256 TEXT, file TEXT,"
               " result TEXT, exit_code INTEGER, message TEXT, differences TEXT,"
               " bytes_sent BIGINT, bytes_received BIGINT, backup TEXT, content_sha256 TEXT)")
        .arg(id, bytes);
}

const char *const Indexes[] = {
    "CREATE INDEX IF NOT EXISTS entries_started ON entries (started_at)",
    "CREATE INDEX IF NOT EXISTS entries_module_id ON entries (module_id, started_at)",
    "CREATE INDEX IF NOT EXISTS entries_unit ON entries (unit, started_at)",
};

// Version 2: claims as rows with a lease, and the provisioned units found
// without reading every entry.
const char *const Version2[] = {
    "CREATE TABLE IF NOT EXISTS claims (unit TEXT PRIMARY KEY, station TEXT NOT NULL, pid BIGINT NOT NULL,"
    " process_start TEXT NOT NULL, boot_id TEXT NOT NULL, taken_at BIGINT NOT NULL, lease_until BIGINT NOT NULL,"
    " entry_id BIGINT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS entries_provision ON entries (operation, result, unit)",
};

// Version 3: a claim's lease on one clock for every station: the database
// server's for PostgreSQL, the machine's boot clock for SQLite (see
// journalclock.h), where version 2 took each station's wall clock. Live
// claims keep what is left of their lease.
QStringList version3(bool postgres)
{
    if (postgres)
        return {};
    const qint64 shift = bootClockMs() - QDateTime::currentMSecsSinceEpoch();
    return {QStringLiteral("UPDATE claims SET lease_until = lease_until + (%1)").arg(shift)};
}

// Version 4: each content's SHA-256 beside it, so that the units a manifest
// has done are judged without reading every content. The proven units of
// earlier versions get theirs here; an entry that a version 3 program still
// completes later is hashed when read (see provisioned()).
bool version4(QSqlQuery &query)
{
    if (!query.exec(QStringLiteral("ALTER TABLE entries ADD COLUMN content_sha256 TEXT"))
        || !query.prepare(QStringLiteral("SELECT id, content FROM entries WHERE operation = ? AND result = ?")))
        return false;
    query.addBindValue(JournalName::Provision);
    query.addBindValue(JournalName::Ok);
    if (!query.exec())
        return false;
    QList<std::pair<qint64, QString>> hashes;
    while (query.next())
        hashes.append({query.value(0).toLongLong(), sha256Hex(query.value(1).toByteArray())});
    if (!query.prepare(QStringLiteral("UPDATE entries SET content_sha256 = ? WHERE id = ?")))
        return false;
    for (const auto &[id, hash] : hashes) {
        query.addBindValue(hash);
        query.addBindValue(id);
        if (!query.exec())
            return false;
    }
    return true;
}

// Another program writing the file, or a connection that went away, keeps
// the journal for a while only: a write that may be tried again.
Journal::Error busyOr(const QSqlError &error, Journal::Error otherwise)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    const bool busy = error.type() == QSqlError::ConnectionError || code == 5 || code == 6;  // SQLITE_BUSY, SQLITE_LOCKED
    return busy ? Journal::Error::CannotOpen : otherwise;
}

} // namespace

// Checks that the tables are of a version this program knows, and makes them
// where there are none yet, in one transaction that no other writer shares.
// A journal that has its tables needs no right to make tables.
bool Journal::prepareSchema(Mode mode)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    auto run = [&query](const QString &statement) { return query.exec(statement); };
    auto end = [&](bool commit) {
        const QString statement = commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK");
        return m_postgres ? (commit ? db.commit() : db.rollback()) : run(statement);
    };
    if (mode == Mode::Write) {
        const bool begun = m_postgres ? db.transaction() && run(QStringLiteral("SELECT pg_advisory_xact_lock(340340)"))
                                      : run(QStringLiteral("BEGIN IMMEDIATE"));
        if (!begun) {
            fail(busyOr(query.lastError(), Error::ReadOnly), query.lastError().text());
            return false;
        }
    }
    const bool exists = run(m_postgres ? QStringLiteral("SELECT to_regclass('journal_schema') IS NOT NULL")
                                       : QStringLiteral("SELECT count(*) > 0 FROM sqlite_master WHERE name = 'journal_schema'"))
                     && query.next() && query.value(0).toBool();
    int found = 0;
    if (exists && run(QStringLiteral("SELECT version FROM journal_schema")) && query.next())
        found = query.value(0).toInt();

    if (mode == Mode::Read) {
        m_schema = found;
        if (found == 0)
            fail(Error::Missing, {});
        else if (found > SchemaVersion)
            m_problem = {Error::NewerSchema, {}, found};
        return isOpen();
    }
    bool made = true;
    if (found == 0) {
        made = run(QStringLiteral("CREATE TABLE IF NOT EXISTS journal_schema (version INTEGER NOT NULL)"))
            && run(schema(m_postgres));
        for (const char *index : Indexes)
            made = made && run(QLatin1String(index));
        made = made && run(QStringLiteral("INSERT INTO journal_schema (version) VALUES (1)"));
    }
    if (made && found < 2) {
        for (const char *statement : Version2)
            made = made && run(QLatin1String(statement));
    }
    if (made && found >= 2 && found < 3) {
        for (const QString &statement : version3(m_postgres))
            made = made && run(statement);
    }
    if (made && found >= 1 && found < 4)
        made = version4(query);
    if (made && found < SchemaVersion)
        made = run(QStringLiteral("UPDATE journal_schema SET version = %1").arg(SchemaVersion));
    // Version 5: a shared journal keeps its own rules (see journalrules.h).
    if (made && m_postgres)
        made = keepJournalRules(query, leaseMs());
    if (!made || found > SchemaVersion) {
        const QSqlError why = query.lastError();
        end(false);
        if (found > SchemaVersion)
            m_problem = {Error::NewerSchema, {}, found};
        else
            fail(busyOr(why, Error::ReadOnly), why.text());
        return false;
    }
    if (!end(true)) {
        fail(busyOr(db.lastError(), Error::ReadOnly), db.lastError().text());
        return false;
    }
    return true;
}
