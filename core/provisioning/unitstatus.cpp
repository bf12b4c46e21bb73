#include "unitstatus.h"

#include "core/journal/journalreason.h"

namespace {

using State = UnitStatus::State;

// How a unit's last provisioning ended, when it was not proven.
State failureOf(const JournalEntry &failure)
{
    if (failure.result == JournalName::Interrupted)
        return State::Interrupted;
    const QString id = JournalReason::split(failure.reason).id;
    if (id == JournalReason::NotSwapped)
        return State::NotSwapped;
    if (id == JournalReason::ClaimLost)
        return State::ClaimLost;
    if (id == JournalReason::NotProven)
        return State::NotProven;
    return State::Failed;
}

UnitStatus statusOf(const ManifestUnit &unit, const QHash<QString, Journal::Proven> &proven,
                    const QHash<QString, Journal::ClaimRow> &claims, const QHash<QString, JournalEntry> &failures)
{
    UnitStatus status{unit.unit, State::Left, 0, 0, {}, {}, {}};
    const auto claim = claims.constFind(unit.unit);
    const auto done = proven.constFind(unit.unit);
    const auto failure = failures.constFind(unit.unit);
    if (claim != claims.cend() && claim->isLive())
        status = {unit.unit, State::Claimed, claim->entry, claim->takenMs, claim->holder.station, claim->holder, {}};
    else if (done != proven.cend())
        status = {unit.unit, unit.contentSha256 == done->contentSha256 ? State::Done : State::Changed, done->entry, done->endedMs, done->station, {}, {}};
    else if (failure != failures.cend())
        status = {unit.unit, failureOf(*failure), failure->id, failure->endedMs.value_or(failure->startedMs), failure->station, {},
                  failure->reason};
    return status;
}

} // namespace

QString stateName(UnitStatus::State state)
{
    switch (state) {
    case State::Left: return QStringLiteral("left");
    case State::Done: return QStringLiteral("done");
    case State::Changed: return QStringLiteral("changed");
    case State::Claimed: return QStringLiteral("claimed");
    case State::Failed: return QStringLiteral("failed");
    case State::NotProven: return QStringLiteral("not-proven");
    case State::NotSwapped: return QStringLiteral("not-swapped");
    case State::Interrupted: return QStringLiteral("interrupted");
    case State::ClaimLost: return QStringLiteral("claim-lost");
    }
    return {};
}

QList<UnitStatus> manifestStatus(Journal &journal, const QList<ManifestUnit> &units, QHash<QString, Journal::Proven> *provenOut)
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
    if (provenOut)
        *provenOut = proven;
    return statuses;
}
