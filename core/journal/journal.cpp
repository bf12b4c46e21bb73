#include "journal.h"

#include "core/storage/outputfile.h"
#include "journalclock.h"
#include "journalfile.h"


#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> connections = 0;

// The columns in the order the queries below name them.
const char *const ListColumns =
    "id, started_at, ended_at, station, user_name, program, version, pid, operation, unit, port, device, by_id, "
    "usb_serial, module_id, module_name, record_sha256, file, result, exit_code, message, differences, "
    "bytes_sent, bytes_received, backup";

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

QVariant contentHash(const QByteArray &content)
{
    return content.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(sha256Hex(content));
}

QString differencesText(const QList<FieldDifference> &differences)
{
    if (differences.isEmpty())
        return {};
    return QString::fromUtf8(QJsonDocument(differencesJson(differences)).toJson(QJsonDocument::Compact));
}

QList<FieldDifference> differencesFrom(const QString &text)
{
    QList<FieldDifference> differences;
    for (const QJsonValue &value : QJsonDocument::fromJson(text.toUtf8()).array())
        differences.append({value[QStringLiteral("field")].toString(), value[QStringLiteral("expected")].toString(),
                            value[QStringLiteral("found")].toString()});
    return differences;
}

QVariant text(const QString &value)
{
    return value.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value);
}

JournalEntry entryFrom(const QSqlQuery &query, bool withContent)
{
    JournalEntry e;
    int c = 0;
    e.id = query.value(c++).toLongLong();
    e.startedMs = query.value(c++).toLongLong();
    if (const QVariant ended = query.value(c++); !ended.isNull())
        e.endedMs = ended.toLongLong();
    e.station = query.value(c++).toString();
    e.user = query.value(c++).toString();
    e.program = query.value(c++).toString();
    e.version = query.value(c++).toString();
    e.pid = query.value(c++).toLongLong();
    e.operation = query.value(c++).toString();
    e.unit = query.value(c++).toString();
    e.port = query.value(c++).toString();
    e.device = query.value(c++).toString();
    e.byId = query.value(c++).toString();
    e.usbSerial = query.value(c++).toString();
    e.moduleId = query.value(c++).toString();
    e.moduleName = query.value(c++).toString();
    e.recordSha256 = query.value(c++).toString();
    e.file = query.value(c++).toString();
    e.result = query.value(c++).toString();
    if (const QVariant code = query.value(c++); !code.isNull())
        e.exitCode = code.toInt();
    e.reason = query.value(c++).toString();
    e.differences = differencesFrom(query.value(c++).toString());
    e.bytesSent = query.value(c++).toLongLong();
    e.bytesReceived = query.value(c++).toLongLong();
    e.backup = query.value(c++).toString();
    if (withContent)
        e.content = query.value(c++).toByteArray();
    return e;
}

} // namespace

Journal::Journal(const JournalLocation &location, Mode mode)
    : m_connection(QStringLiteral("tavir340-journal-%1").arg(++connections))
    , m_location(location)
    , m_postgres(location.kind == JournalLocation::Kind::Postgres)
{
    const bool opened = m_postgres ? openPostgres(location) : openSqlite(location, mode);
    if (opened)
        prepareSchema(mode);
}

Journal::~Journal()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void Journal::fail(Error error, const QString &detail)
{
    if (m_problem.error == Error::None)
        m_problem = {error, detail, 0};
}

bool Journal::openSqlite(const JournalLocation &location, Mode mode)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        fail(Error::NoDriver, QStringLiteral("QSQLITE"));
        return false;
    }
    if (mode == Mode::Write && location.isDefault) {
        // It holds PINs and telephone numbers: the folder is the owner's alone.
        const QString folder = QFileInfo(location.path).absolutePath();
        if (!QFileInfo::exists(folder) && !makeOwnFolder(folder)) {
            fail(Error::CannotCreate, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    const JournalFile file = prepareJournalFile(location.path, mode == Mode::Write);
    if (file.problem.error != Error::None) {
        m_problem = file.problem;
        return false;
    }
    m_mendedFromMode = file.mendedFromMode;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(file.path);
    db.setConnectOptions(mode == Mode::Read ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY")
                                            : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open()) {
        fail(sqliteErrorKind(db.lastError().nativeErrorCode(), Error::CannotOpen), db.lastError().text());
        return false;
    }
    // Another program's database is left exactly as it was: nothing is
    // switched or made in it.
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT count(*), sum(type = 'table' AND name = 'journal_schema') FROM sqlite_master"))
        || !tables.next()) {
        fail(sqliteErrorKind(tables.lastError().nativeErrorCode(), Error::CannotOpen), tables.lastError().text());
        return false;
    }
    const bool foreign = tables.value(0).toInt() > 0 && tables.value(1).toInt() == 0;
    tables.finish();  // no statement may be open while the journal mode changes
    if (foreign) {
        fail(Error::NotAJournal, {});
        return false;
    }
    QSqlQuery pragma(db);
    if (mode == Mode::Write && !pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        fail(sqliteErrorKind(pragma.lastError().nativeErrorCode(), Error::ReadOnly), pragma.lastError().text());
        return false;
    }
    return true;
}

bool Journal::openPostgres(const JournalLocation &location)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        fail(Error::NoDriver, QStringLiteral("QPSQL"));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    db.setHostName(location.host);
    db.setPort(location.port);
    db.setDatabaseName(location.database);
    db.setUserName(location.user);
    db.setPassword(location.password);
    db.setConnectOptions(location.options);
    if (!db.open()) {
        fail(Error::CannotOpen, db.lastError().databaseText().trimmed());
        return false;
    }
    return true;
}

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
            fail(Error::ReadOnly, query.lastError().text());
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
    if (!made || found > SchemaVersion) {
        const QString why = query.lastError().text();
        end(false);
        if (found > SchemaVersion)
            m_problem = {Error::NewerSchema, {}, found};
        else
            fail(Error::ReadOnly, why);
        return false;
    }
    if (!end(true)) {
        fail(Error::ReadOnly, db.lastError().text());
        return false;
    }
    return true;
}

qint64 Journal::begin(const JournalEntry &e)
{
    if (!isOpen() || !claimHolds(e))
        return 0;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral(
        "INSERT INTO entries (started_at, station, user_name, program, version, pid, operation, unit, port, device, by_id,"
        " usb_serial, module_id, module_name, content, content_sha256, record_sha256, file)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"));
    for (const QVariant &value : {QVariant(e.startedMs), QVariant(e.station), QVariant(e.user), QVariant(e.program),
                                  QVariant(e.version), QVariant(e.pid), QVariant(e.operation), text(e.unit), QVariant(e.port),
                                  text(e.device), text(e.byId), text(e.usbSerial), text(e.moduleId), text(e.moduleName),
                                  e.content.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(e.content),
                                  contentHash(e.content), text(e.recordSha256), text(e.file)})
        query.addBindValue(value);
    if (!query.exec() || !query.next()) {
        fail(sqliteErrorKind(query.lastError().nativeErrorCode(), Error::WriteFailed), query.lastError().text());
        return 0;
    }
    return query.value(0).toLongLong();
}

bool Journal::complete(const JournalEntry &e)
{
    if (!isOpen() || e.id == 0 || !claimHolds(e))
        return false;
    // What only the end can tell (a read-up's content) fills a column that
    // the start left empty; nothing else that was recorded changes.
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral(
        "UPDATE entries SET ended_at = ?, result = ?, exit_code = ?, message = ?, differences = ?,"
        " bytes_sent = ?, bytes_received = ?, backup = ?,"
        " module_id = COALESCE(module_id, ?), module_name = COALESCE(module_name, ?),"
        " content = COALESCE(content, ?), content_sha256 = COALESCE(content_sha256, ?),"
        " record_sha256 = COALESCE(record_sha256, ?), file = COALESCE(file, ?)"
        " WHERE id = ? AND result IS NULL"));
    for (const QVariant &value : {QVariant(e.endedMs.value_or(e.startedMs)), QVariant(e.result),
                                  e.exitCode ? QVariant(*e.exitCode) : QVariant(QMetaType::fromType<int>()), text(e.reason),
                                  text(differencesText(e.differences)), QVariant(e.bytesSent), QVariant(e.bytesReceived),
                                  text(e.backup), text(e.moduleId), text(e.moduleName),
                                  e.content.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(e.content),
                                  contentHash(e.content), text(e.recordSha256), text(e.file), QVariant(e.id)})
        query.addBindValue(value);
    if (!query.exec()) {
        fail(sqliteErrorKind(query.lastError().nativeErrorCode(), Error::WriteFailed), query.lastError().text());
        return false;
    }
    if (query.numRowsAffected() != 1) {
        fail(Error::WriteFailed, QStringLiteral("entry %1 is not there to complete").arg(e.id));
        return false;
    }
    return true;
}

bool Journal::startBatch()
{
    if (!isOpen())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    m_inBatch = m_postgres ? db.transaction() : query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_inBatch)
        fail(Error::WriteFailed, m_postgres ? db.lastError().text() : query.lastError().text());
    return m_inBatch;
}

bool Journal::endBatch(bool commit)
{
    m_inBatch = false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    const bool ended = m_postgres ? (commit ? db.commit() : db.rollback())
                                  : query.exec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    if (!ended && commit)
        fail(Error::WriteFailed, m_postgres ? db.lastError().text() : query.lastError().text());
    return ended && commit;
}

namespace {

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

const char *const ClaimColumns = "unit, station, pid, process_start, boot_id, taken_at, lease_until, entry_id";

} // namespace

qint64 Journal::leaseMs()
{
    static const qint64 lease = [] {
        bool ok = false;
        const qint64 seconds = qEnvironmentVariableIntValue("TAVIR340_LEASE_SECONDS", &ok);
        return ok && seconds >= 15 && seconds <= 3600 ? seconds * 1000 : 60000;
    }();
    return lease;
}

// The lease clock's reading, as SQL: the server's own clock on PostgreSQL,
// asked for in the statement itself; the boot clock of this machine, which
// every process on it shares, for SQLite.
QString Journal::leaseClock() const
{
    return m_postgres ? QStringLiteral("(EXTRACT(EPOCH FROM clock_timestamp()) * 1000)::BIGINT") : QString::number(bootClockMs());
}

// A claim row read with the lease clock's reading beside it (its last
// column): what is left of its lease, and that lease on the wall clock.
Journal::ClaimRow Journal::claimFrom(const QSqlQuery &query) const
{
    ClaimRow row;
    row.unit = query.value(0).toString();
    row.holder = {query.value(1).toString(), query.value(2).toLongLong(), query.value(3).toString(), query.value(4).toString()};
    row.takenMs = query.value(5).toLongLong();
    row.leaseLeftMs = query.value(6).toLongLong() - query.value(8).toLongLong();
    // A boot clock's lease means nothing in another boot: that holder is gone.
    if (!m_postgres && row.holder.bootId != ProcessIdentity::self().bootId)
        row.leaseLeftMs = 0;
    row.leaseUntilMs = now() + row.leaseLeftMs;
    row.entry = query.value(7).toLongLong();
    return row;
}

bool Journal::ClaimRow::isLive() const
{
    return leaseLeftMs > 0 && !holder.provablyGone();
}

// Whether the claim an entry is written under (its token) still holds the
// unit; in the batch's transaction, so that the entry and the check are one.
bool Journal::claimHolds(const JournalEntry &e)
{
    if (e.claimToken == 0)
        return true;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT 1 FROM claims WHERE unit = ? AND entry_id = ?%1")
                      .arg(m_postgres ? QStringLiteral(" FOR UPDATE") : QString()));
    query.addBindValue(e.unit);
    query.addBindValue(e.claimToken);
    if (!exec(query))
        return false;
    if (query.next())
        return true;
    fail(Error::ClaimLost, {});
    return false;
}

bool Journal::exec(QSqlQuery &query)
{
    if (query.exec())
        return true;
    fail(sqliteErrorKind(query.lastError().nativeErrorCode(), Error::WriteFailed), query.lastError().text());
    return false;
}

std::optional<Journal::ClaimRow> Journal::claimOf(const QString &unit, bool *ok)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT %1, %2 FROM claims WHERE unit = ?").arg(QLatin1String(ClaimColumns), leaseClock()));
    query.addBindValue(unit);
    *ok = exec(query);
    if (*ok && query.next())
        return claimFrom(query);
    return std::nullopt;
}

// Whether the journal holds the unit as proven: with the same content
// (Done), or with other content (Changed).
std::optional<Journal::Claim> Journal::provenState(const JournalEntry &entry, bool *ok)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT content FROM entries WHERE operation = ? AND result = ? AND unit = ? ORDER BY id DESC LIMIT 1"));
    query.addBindValue(JournalName::Provision);
    query.addBindValue(JournalName::Ok);
    query.addBindValue(entry.unit);
    *ok = exec(query);
    if (!*ok || !query.next())
        return std::nullopt;
    return query.value(0).toByteArray() == entry.content ? Claim::Done : Claim::Changed;
}

std::optional<Journal::ClaimResult> Journal::claim(JournalEntry &entry, const ProcessIdentity &self, bool again, bool changedToo)
{
    if (!isOpen())
        return std::nullopt;
    const bool ownTransaction = !m_inBatch;
    if (ownTransaction && !startBatch())
        return std::nullopt;
    auto finishWith = [&](std::optional<ClaimResult> result) {
        if (ownTransaction && !endBatch(result.has_value()))
            return std::optional<ClaimResult>();
        return result;
    };
    // Claims are taken one at a time, whatever the database.
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (m_postgres && !(query.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(340341)")) && exec(query)))
        return finishWith(std::nullopt);
    bool ok = false;
    const std::optional<ClaimRow> held = claimOf(entry.unit, &ok);
    if (!ok)
        return finishWith(std::nullopt);
    if (held && held->isLive())
        return finishWith(ClaimResult{Claim::Held, *held});
    if (!again) {
        const std::optional<Claim> proven = provenState(entry, &ok);
        if (!ok)
            return finishWith(std::nullopt);
        if (proven == Claim::Done || (proven == Claim::Changed && !changedToo))
            return finishWith(ClaimResult{*proven, {}});
    }
    entry.id = begin(entry);
    if (entry.id == 0)
        return finishWith(std::nullopt);
    query.prepare(QStringLiteral("DELETE FROM claims WHERE unit = ?"));
    query.addBindValue(entry.unit);
    if (!exec(query))
        return finishWith(std::nullopt);
    query.prepare(QStringLiteral("INSERT INTO claims (%1) VALUES (?, ?, ?, ?, ?, ?, %2 + ?, ?)").arg(QLatin1String(ClaimColumns), leaseClock()));
    for (const QVariant &value : {QVariant(entry.unit), QVariant(self.station), QVariant(self.pid), QVariant(self.start),
                                  QVariant(self.bootId), QVariant(now()), QVariant(leaseMs()), QVariant(entry.id)})
        query.addBindValue(value);
    if (!exec(query))
        return finishWith(std::nullopt);
    return finishWith(ClaimResult{Claim::Taken, {}});
}

Journal::Renewal Journal::renew(const QString &unit, const ProcessIdentity &self)
{
    if (!isOpen())
        return Renewal::Failed;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("UPDATE claims SET lease_until = %1 + ? WHERE unit = ? AND station = ? AND pid = ? AND process_start = ?")
                      .arg(leaseClock()));
    for (const QVariant &value : {QVariant(leaseMs()), QVariant(unit), QVariant(self.station), QVariant(self.pid), QVariant(self.start)})
        query.addBindValue(value);
    if (!exec(query))
        return Renewal::Failed;
    return query.numRowsAffected() == 1 ? Renewal::Renewed : Renewal::NotOurs;
}

bool Journal::release(const QString &unit, const ProcessIdentity &self)
{
    if (!isOpen())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("DELETE FROM claims WHERE unit = ? AND station = ? AND pid = ? AND process_start = ?"));
    for (const QVariant &value : {QVariant(unit), QVariant(self.station), QVariant(self.pid), QVariant(self.start)})
        query.addBindValue(value);
    return exec(query);
}

std::optional<Journal::ClaimResult> Journal::releaseClaim(const QString &unit, bool force)
{
    if (!isOpen() || !startBatch())
        return std::nullopt;
    bool ok = false;
    const std::optional<ClaimRow> held = claimOf(unit, &ok);
    if (!ok) {
        endBatch(false);
        return std::nullopt;
    }
    if (!held) {
        endBatch(true);
        return ClaimResult{Claim::Done, {}};
    }
    if (held->isLive() && !force) {
        endBatch(true);
        return ClaimResult{Claim::Held, *held};
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("DELETE FROM claims WHERE unit = ?"));
    query.addBindValue(unit);
    if (!exec(query) || !endBatch(true))
        return std::nullopt;
    return ClaimResult{Claim::Taken, *held};
}

QList<Journal::ClaimRow> Journal::claims()
{
    QList<ClaimRow> rows;
    if (!isOpen())
        return rows;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1, %2 FROM claims ORDER BY taken_at, unit").arg(QLatin1String(ClaimColumns), leaseClock()));
    if (exec(query)) {
        while (query.next())
            rows.append(claimFrom(query));
    }
    return rows;
}

QHash<QString, Journal::Proven> Journal::provisioned(qint64 after)
{
    QHash<QString, Proven> units;
    if (!isOpen())
        return units;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    // The content itself only where its hash is missing: see version4().
    const QString hash = m_schema >= 4 ? QStringLiteral("content_sha256") : QStringLiteral("NULL");
    query.prepare(QStringLiteral("SELECT unit, %1, CASE WHEN %1 IS NULL THEN content END, id, ended_at, station"
                                 " FROM entries WHERE operation = ? AND result = ? AND id > ? ORDER BY id").arg(hash));
    query.addBindValue(JournalName::Provision);
    query.addBindValue(JournalName::Ok);
    query.addBindValue(after);
    if (exec(query)) {
        while (query.next()) {
            const QString hex = query.value(1).toString();
            const QByteArray sha256 = hex.isEmpty() ? QCryptographicHash::hash(query.value(2).toByteArray(), QCryptographicHash::Sha256)
                                                    : QByteArray::fromHex(hex.toLatin1());
            units[query.value(0).toString()] = {sha256, query.value(3).toLongLong(), query.value(4).toLongLong(),
                                                query.value(5).toString()};
        }
    }
    return units;
}

QHash<QString, JournalEntry> Journal::lastFailures()
{
    QHash<QString, JournalEntry> units;
    if (!isOpen())
        return units;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM entries WHERE operation = ? AND result IS NOT NULL AND result <> ? ORDER BY id")
                      .arg(QLatin1String(ListColumns)));
    query.addBindValue(JournalName::Provision);
    query.addBindValue(JournalName::Ok);
    if (exec(query)) {
        while (query.next()) {
            const JournalEntry entry = entryFrom(query, false);
            units[entry.unit] = entry;
        }
    }
    return units;
}

QString Journal::unitHolding(const QString &recordSha256, const QString &unit)
{
    if (!isOpen())
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT unit FROM entries WHERE operation = ? AND result = ? AND record_sha256 = ? AND unit <> ?"
                                 " ORDER BY id DESC LIMIT 1"));
    query.addBindValue(JournalName::Provision);
    query.addBindValue(JournalName::Ok);
    query.addBindValue(recordSha256);
    query.addBindValue(unit);
    return exec(query) && query.next() ? query.value(0).toString() : QString();
}

namespace {

// The WHERE clause of a filter (empty when it takes every entry), with the
// values it binds.
QString whereOf(const Journal::Filter &filter, QVariantList &values)
{
    QStringList where;
    auto match = [&](const QString &column, const QString &value) {
        if (value.isEmpty())
            return;
        where << column + QStringLiteral(" = ?");
        values << value;
    };
    match(QStringLiteral("module_id"), filter.moduleId);
    match(QStringLiteral("port"), filter.port);
    match(QStringLiteral("operation"), filter.operation);
    match(QStringLiteral("unit"), filter.unit);
    if (filter.result == JournalName::Unfinished)
        where << QStringLiteral("result IS NULL");
    else
        match(QStringLiteral("result"), filter.result);
    if (!filter.name.isEmpty()) {
        where << QStringLiteral("LOWER(module_name) LIKE ?");
        values << QLatin1Char('%') + filter.name.toLower() + QLatin1Char('%');
    }
    if (!filter.idOrName.isEmpty()) {
        where << QStringLiteral("(module_id = ? OR LOWER(module_name) LIKE ?)");
        values << filter.idOrName << QLatin1Char('%') + filter.idOrName.toLower() + QLatin1Char('%');
    }
    if (filter.sinceMs) {
        where << QStringLiteral("started_at >= ?");
        values << *filter.sinceMs;
    }
    if (filter.untilMs) {
        where << QStringLiteral("started_at < ?");
        values << *filter.untilMs;
    }
    if (filter.olderThan) {
        // A row value, which both databases walk along the start-time index.
        where << QStringLiteral("(started_at, id) < (?, ?)");
        values << filter.olderThan->startedMs << filter.olderThan->id;
    }
    return where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
}

} // namespace

QList<JournalEntry> Journal::find(const Filter &filter)
{
    QList<JournalEntry> entries;
    if (!isOpen())
        return entries;
    QVariantList values;
    QString statement = QStringLiteral("SELECT %1%2 FROM entries")
                            .arg(QLatin1String(ListColumns), filter.withContent ? QStringLiteral(", content") : QString());
    statement += whereOf(filter, values) + QStringLiteral(" ORDER BY started_at DESC, id DESC");
    if (filter.limit > 0)
        statement += QStringLiteral(" LIMIT %1").arg(filter.limit);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(statement);
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    if (!query.exec()) {
        fail(Error::CannotOpen, query.lastError().text());
        return entries;
    }
    while (query.next())
        entries.append(entryFrom(query, filter.withContent));
    return entries;
}

qint64 Journal::count(const Filter &filter, const std::function<bool()> &cancelled)
{
    constexpr qint64 Slice = 65536;  // entries by id: a few milliseconds of scan each
    if (!isOpen())
        return -1;
    QSqlQuery last(QSqlDatabase::database(m_connection, false));
    if (!last.exec(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM entries")) || !last.next())
        return -1;
    QVariantList values;
    QString where = whereOf(filter, values);
    where += (where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + QStringLiteral("id > ? AND id <= ?");
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT count(*) FROM entries") + where);
    qint64 total = 0;
    for (qint64 top = last.value(0).toLongLong(); top > 0; top -= Slice) {
        if (cancelled && cancelled())
            return -1;
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        query.bindValue(int(values.size()), top - Slice);
        query.bindValue(int(values.size()) + 1, top);
        if (!query.exec() || !query.next())
            return -1;
        total += query.value(0).toLongLong();
        query.finish();
    }
    return total;
}

std::optional<JournalEntry> Journal::entry(qint64 id)
{
    if (!isOpen())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT %1, content FROM entries WHERE id = ?").arg(QLatin1String(ListColumns)));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return entryFrom(query, true);
}
