#include "unitstatus.h"

#include "core/journal/journalreason.h"

namespace {

using State = UnitStatus::State;

// How a unit's last provisioning ended, when it was not proven.
State failureOf(const Journal::Provisioning &failure)
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

ManifestOverview::ManifestOverview(const QList<ManifestUnit> &units)
    : m_units(units)
{
    m_rows.reserve(units.size());
    m_statuses.reserve(units.size());
    for (int row = 0; row < units.size(); ++row) {
        m_rows.insert(units[row].unit, row);
        m_statuses.append({units[row].unit, State::Left, 0, 0, {}, {}, {}});
    }
    m_counts[size_t(State::Left)] = int(units.size());
}

bool ManifestOverview::update(Journal &journal, QList<int> *changed)
{
    const QList<Journal::Provisioning> provisionings = journal.provisionings(m_lastId, m_running.values());
    const QList<Journal::ClaimRow> claims = journal.isOpen() ? journal.claims() : QList<Journal::ClaimRow>{};
    if (!journal.isOpen())
        return false;
    QSet<int> touched;
    for (const Journal::Provisioning &provisioning : provisionings)
        take(provisioning, touched);
    takeClaims(claims, touched);
    QList<int> rows(touched.cbegin(), touched.cend());
    std::sort(rows.begin(), rows.end());
    QList<int> differ;
    for (const int row : std::as_const(rows)) {
        UnitStatus now = statusOf(row);
        if (now == m_statuses[row])
            continue;
        --m_counts[size_t(m_statuses[row].state)];
        ++m_counts[size_t(now.state)];
        m_statuses[row] = std::move(now);
        differ << row;
    }
    if (changed)
        *changed = differ;
    return true;
}

void ManifestOverview::take(const Journal::Provisioning &provisioning, QSet<int> &touched)
{
    m_lastId = std::max(m_lastId, provisioning.id);
    const auto row = m_rows.constFind(provisioning.unit);
    if (row == m_rows.cend())
        return;  // another manifest's unit
    if (provisioning.result.isEmpty()) {
        m_running.insert(provisioning.id);
        return;
    }
    m_running.remove(provisioning.id);
    QHash<QString, Journal::Provisioning> &kept = provisioning.result == JournalName::Ok ? m_proven : m_failed;
    const auto known = kept.constFind(provisioning.unit);
    if (known == kept.cend() || known->id < provisioning.id)
        kept.insert(provisioning.unit, provisioning);
    touched.insert(*row);
}

// A claim that came, went, or outlived its lease since the last look.
void ManifestOverview::takeClaims(const QList<Journal::ClaimRow> &rows, QSet<int> &touched)
{
    QHash<QString, Journal::ClaimRow> live;
    for (const Journal::ClaimRow &claim : rows) {
        if (claim.isLive() && m_rows.contains(claim.unit))
            live.insert(claim.unit, claim);
    }
    for (auto claim = live.cbegin(); claim != live.cend(); ++claim) {
        const auto was = m_claims.constFind(claim.key());
        if (was == m_claims.cend() || was->entry != claim->entry || !(was->holder == claim->holder))
            touched.insert(m_rows.value(claim.key()));
    }
    for (auto claim = m_claims.cbegin(); claim != m_claims.cend(); ++claim) {
        if (!live.contains(claim.key()))
            touched.insert(m_rows.value(claim.key()));
    }
    m_claims = std::move(live);
}

UnitStatus ManifestOverview::statusOf(int row) const
{
    const ManifestUnit &unit = m_units[row];
    const auto claim = m_claims.constFind(unit.unit);
    if (claim != m_claims.cend())
        return {unit.unit, State::Claimed, claim->entry, claim->takenMs, claim->holder.station, claim->holder, {}};
    const auto done = m_proven.constFind(unit.unit);
    if (done != m_proven.cend())
        return {unit.unit, unit.contentSha256 == done->contentSha256 ? State::Done : State::Changed, done->id, done->endedMs,
                done->station, {}, {}};
    const auto failure = m_failed.constFind(unit.unit);
    if (failure != m_failed.cend())
        return {unit.unit, failureOf(*failure), failure->id, failure->endedMs ? failure->endedMs : failure->startedMs,
                failure->station, {}, failure->reason};
    return {unit.unit, State::Left, 0, 0, {}, {}, {}};
}

QList<UnitStatus> manifestStatus(Journal &journal, const QList<ManifestUnit> &units)
{
    ManifestOverview overview(units);
    return overview.update(journal) ? overview.statuses() : QList<UnitStatus>{};
}
