// The journal's connection: opening a SQLite file or a PostgreSQL database,
// and the transactions a batch of writes shares. The schema, the entries,
// the claims and the queries each have a file of their own.
#include "journal.h"

#include "core/storage/outputfile.h"
#include "core/storage/ownfolder.h"
#include "journalclock.h"
#include "journalfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlDatabase>
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

} // namespace

Journal::Journal(const JournalLocation &location, Mode mode, const JournalClock &clock)
    : m_connection(QStringLiteral("tavir340-journal-%1").arg(++connections))
    , m_location(location)
    , m_clock(clock)
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
        if (const FileError made = makePrivateFolder(folder)) {
            if (made.kind == FileError::Kind::FolderOwner)
                fail(Error::FolderOwner, userName(uid_t(made.code)));
            else if (made.kind == FileError::Kind::Link)
                fail(Error::Link, {});
            else
                fail(Error::CannotCreate, QString::fromLocal8Bit(std::strerror(made.code)));
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
    const QString busy = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(location.busyTimeoutMs);
    db.setConnectOptions(mode == Mode::Read ? busy + QStringLiteral(";QSQLITE_OPEN_READONLY") : busy);
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
        fail(sqliteErrorKind(pragma.lastError().nativeErrorCode(), Error::CannotOpen), pragma.lastError().text());
        return false;
    }
    return mode == Mode::Read || makeDurable(db);
}

// A proof is on the disk before the run says "proven": every commit waits
// for the disk, the WAL's included, whatever the distribution's default.
bool Journal::makeDurable(QSqlDatabase &db)
{
    constexpr int Full = 2;
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous=FULL")) || !pragma.exec(QStringLiteral("PRAGMA synchronous"))
        || !pragma.next() || pragma.value(0).toInt() != Full) {
        fail(Error::WriteFailed, QStringLiteral("PRAGMA synchronous=FULL did not take effect"));
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
    // A server that takes the connection and never answers is given up
    // after the connect time-out, a statement it never ends after the
    // statement time-out: each unless the address says otherwise.
    QStringList options = location.options.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (!location.options.contains(QLatin1String("connect_timeout=")))
        options << QStringLiteral("connect_timeout=%1").arg(ConnectTimeoutSeconds);
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        fail(Error::CannotOpen, db.lastError().databaseText().trimmed());
        return false;
    }
    QSqlQuery timeout(db);
    if (!location.options.contains(QLatin1String("statement_timeout"))
        && !timeout.exec(QStringLiteral("SET statement_timeout = %1").arg(StatementTimeoutMs))) {
        fail(Error::CannotOpen, timeout.lastError().databaseText().trimmed());
        return false;
    }
    return true;
}

bool Journal::exec(QSqlQuery &query)
{
    if (query.exec())
        return true;
    fail(sqliteErrorKind(query.lastError().nativeErrorCode(), Error::WriteFailed), query.lastError().text());
    return false;
}

bool Journal::startBatch()
{
    if (!isOpen())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    m_inBatch = m_postgres ? db.transaction() : query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_inBatch) {
        const QSqlError error = m_postgres ? db.lastError() : query.lastError();
        fail(m_postgres ? Error::WriteFailed : sqliteErrorKind(error.nativeErrorCode(), Error::WriteFailed), error.text());
    }
    return m_inBatch;
}

bool Journal::endBatch(bool commit)
{
    m_inBatch = false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    const bool ended = m_postgres ? (commit ? db.commit() : db.rollback())
                                  : query.exec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    if (!ended && commit) {
        const QSqlError error = m_postgres ? db.lastError() : query.lastError();
        fail(m_postgres ? Error::WriteFailed : sqliteErrorKind(error.nativeErrorCode(), Error::WriteFailed), error.text());
    }
    return ended && commit;
}
