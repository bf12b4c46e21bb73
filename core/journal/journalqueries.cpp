// What is read from the journal: entries by filter, by id and counted, and
// what a batch asks (the proven units, the last failures, the unit a module
// holds).
#include "journal.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The columns in the order the queries below name them.
const char *const ListColumns =
    "id, started_at, ended_at, station, user_name, program, version, pid, operation, unit, port, device, by_id, "
    "usb_serial, module_id, module_name, record_sha256, file, result, exit_code, message, differences, "
    "bytes_sent, bytes_received, backup";

QList<FieldDifference> differencesFrom(const QString &text)
{
    QList<FieldDifference> differences;
    for (const QJsonValue &value : QJsonDocument::fromJson(text.toUtf8()).array())
        differences.append({value[QStringLiteral("field")].toString(), value[QStringLiteral("expected")].toString(),
                            value[QStringLiteral("found")].toString()});
    return differences;
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

// What the technician searches for, without its accents: a module's name
// holds none (a download refuses them), so "Kovács" finds "KOVACS". The
// stored names are left as they are: folding them in the query would cost
// a search through every entry five times as long.
QString searchFolded(const QString &text)
{
    QString folded;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    return folded.toLower();
}

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
        values << QLatin1Char('%') + searchFolded(filter.name) + QLatin1Char('%');
    }
    if (!filter.idOrName.isEmpty()) {
        where << QStringLiteral("(module_id = ? OR LOWER(module_name) LIKE ?)");
        values << filter.idOrName << QLatin1Char('%') + searchFolded(filter.idOrName) + QLatin1Char('%');
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

QList<Journal::Provisioning> Journal::provisionings(qint64 after, const QList<qint64> &ids)
{
    QList<Provisioning> found;
    if (!isOpen())
        return found;
    // The content itself only where its hash is missing: see version4().
    const QString hash = m_schema >= 4 ? QStringLiteral("content_sha256") : QStringLiteral("NULL");
    // Along the ids, never along the operation's index, which would walk
    // every provisioning the journal ever kept to find the few new ones.
    const QString columns = QStringLiteral("SELECT id, unit, result, message, started_at, ended_at, station, %1,"
                                           " CASE WHEN %1 IS NULL THEN content END FROM entries%2 WHERE operation = ? AND ")
                                .arg(hash, m_postgres ? QString() : QStringLiteral(" NOT INDEXED"));
    QStringList idList;
    for (const qint64 id : ids)
        idList << QString::number(id);
    QStringList statements = {columns + QStringLiteral("id > ? ORDER BY id")};
    if (!idList.isEmpty())
        statements << columns + QStringLiteral("id IN (%1) ORDER BY id").arg(idList.join(QLatin1Char(',')));
    for (const QString &statement : statements) {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        query.setForwardOnly(true);
        query.prepare(statement);
        query.addBindValue(JournalName::Provision);
        if (statement.contains(QLatin1String("id > ?")))
            query.addBindValue(after);
        if (!exec(query))
            return {};
        while (query.next()) {
            const QString hex = query.value(7).toString();
            found.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
                          query.value(4).toLongLong(), query.value(5).toLongLong(), query.value(6).toString(),
                          hex.isEmpty() ? QCryptographicHash::hash(query.value(8).toByteArray(), QCryptographicHash::Sha256)
                                        : QByteArray::fromHex(hex.toLatin1())});
        }
    }
    return found;
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
