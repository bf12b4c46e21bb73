#include "unitstatus.h"

namespace {

UnitStatus statusOf(const ManifestUnit &unit, const QHash<QString, Journal::Proven> &proven,
                    const QHash<QString, Journal::ClaimRow> &claims, const QHash<QString, JournalEntry> &failures)
{
    UnitStatus status{unit.unit, QStringLiteral("left"), 0, 0, {}, {}};
    const auto claim = claims.constFind(unit.unit);
    const auto done = proven.constFind(unit.unit);
    const auto failure = failures.constFind(unit.unit);
    if (claim != claims.cend() && claim->isLive())
        status = {unit.unit, QStringLiteral("claimed"), claim->entry, claim->takenMs, claim->holder.station, {}};
    else if (done != proven.cend())
        status = {unit.unit, done->content == unit.content ? QStringLiteral("done") : QStringLiteral("changed"), done->entry,
                  done->endedMs, done->station, {}};
    else if (failure != failures.cend())
        status = {unit.unit, QStringLiteral("failed"), failure->id, failure->endedMs.value_or(failure->startedMs), failure->station,
                  failure->reason};
    return status;
}

} // namespace

QList<UnitStatus> manifestStatus(Journal &journal, const QList<ManifestUnit> &units)
{
    QList<UnitStatus> statuses;
    if (!journal.isOpen())
        return statuses;
    const QHash<QString, Journal::Proven> proven = journal.provisioned();
    const QHash<QString, JournalEntry> failures = journal.lastFailures();
    QHash<QString, Journal::ClaimRow> claims;
    for (const Journal::ClaimRow &row : journal.claims())
        claims.insert(row.unit, row);
    statuses.reserve(units.size());
    for (const ManifestUnit &unit : units)
        statuses << statusOf(unit, proven, claims, failures);
    return statuses;
}
