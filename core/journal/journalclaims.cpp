// Claims on units: rows with a lease on one clock for every station, taken,
// renewed and released, and the fence every entry of a unit is written under.
#include "journal.h"

#include "journalclock.h"
#include "journalreason.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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
    return m_postgres ? QStringLiteral("(EXTRACT(EPOCH FROM clock_timestamp()) * 1000)::BIGINT") : QString::number(m_clock.nowMs());
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

bool ClaimBook::ClaimRow::isLive() const
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
    if (held && held->isLive()) {
        // This very claim, taken by an earlier try whose commit's answer was
        // lost: it is ours.
        if (held->holder == self && isOwnAttempt(*held, entry)) {
            entry.id = held->entry;
            return finishWith(ClaimResult{Claim::Taken, {}});
        }
        return finishWith(ClaimResult{Claim::Held, *held});
    }
    if (held && !endAbandoned(*held))
        return finishWith(std::nullopt);
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

// Whether a claim's entry is the start of `entry` itself: the same port,
// process and moment.
bool Journal::isOwnAttempt(const ClaimRow &held, const JournalEntry &entry)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT started_at, port FROM entries WHERE id = ?"));
    query.addBindValue(held.entry);
    return exec(query) && query.next() && query.value(0).toLongLong() == entry.startedMs && query.value(1).toString() == entry.port;
}

// A claim whose run is gone (killed, frozen past its lease, cut off from the
// journal until it gave up) may have left its unit's entries unfinished:
// they end here, before the next claim, so that the unit is not shown as
// left to do. Its provisioning is written, not proven; its steps were
// stopped by the claim's end. False when the journal would not take it.
bool Journal::endAbandoned(const ClaimRow &dead)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("UPDATE entries SET ended_at = ?, result = CASE WHEN id = ? THEN ? ELSE ? END,"
                                 " exit_code = CASE WHEN id = ? THEN 5 ELSE 4 END, message = CASE WHEN id = ? THEN ? ELSE ? END"
                                 " WHERE unit = ? AND result IS NULL AND id >= ? AND station = ? AND pid = ?"));
    for (const QVariant &value : {QVariant(now()), QVariant(dead.entry), QVariant(JournalName::Failed), QVariant(JournalName::Interrupted),
                                  QVariant(dead.entry), QVariant(dead.entry), QVariant(JournalReason::NotProven),
                                  QVariant(JournalReason::ClaimLost), QVariant(dead.unit), QVariant(dead.entry),
                                  QVariant(dead.holder.station), QVariant(dead.holder.pid)})
        query.addBindValue(value);
    return exec(query);
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
