// An entry's start and its end, the only writes an entry ever gets.
#include "journal.h"

#include "journalfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

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

QVariant text(const QString &value)
{
    return value.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value);
}

} // namespace

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
    // Completed already with this very end: a commit whose answer was lost,
    // written again.
    if (query.numRowsAffected() != 1 && !holdsEnd(e)) {
        fail(Error::WriteFailed, QStringLiteral("entry %1 is not there to complete").arg(e.id));
        return false;
    }
    return true;
}

bool Journal::holdsEnd(const JournalEntry &e)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT result, ended_at FROM entries WHERE id = ?"));
    query.addBindValue(e.id);
    return exec(query) && query.next() && query.value(0).toString() == e.result
        && query.value(1).toLongLong() == e.endedMs.value_or(e.startedMs);
}

qint64 Journal::findBegun(const JournalEntry &e)
{
    if (!isOpen())
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT id FROM entries WHERE started_at = ? AND station = ? AND pid = ? AND operation = ?"
                                 " AND port = ? AND COALESCE(unit, '') = ? ORDER BY id DESC LIMIT 1"));
    for (const QVariant &value : {QVariant(e.startedMs), QVariant(e.station), QVariant(e.pid), QVariant(e.operation),
                                  QVariant(e.port), QVariant(e.unit)})
        query.addBindValue(value);
    if (!exec(query))
        return -1;
    return query.next() ? query.value(0).toLongLong() : 0;
}
