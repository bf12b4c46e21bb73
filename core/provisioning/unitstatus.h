#pragma once

#include "core/content/manifest.h"
#include "core/journal/journal.h"
#include "core/process/processidentity.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <array>

// What the journal says of each unit of a manifest: done (proven with this
// content), changed (proven with other content), claimed (a live claim),
// the way its last provisioning ended otherwise, or left.
struct UnitStatus
{
    enum class State {
        Left,
        Done,
        Changed,
        Claimed,
        Failed,       // written (or tried) and not held by the module, or refused
        NotProven,    // written, but no verify's agreement is in the journal
        NotSwapped,   // the module still held another unit: not written
        Interrupted,  // stopped by the technician: the module's content is unknown
        ClaimLost,    // the claim left its run: nothing more was sent
    };
    static constexpr int StateCount = 9;
    QString unit;
    State state = State::Left;
    qint64 entry = 0;
    qint64 whenMs = 0;
    QString station;
    ProcessIdentity holder;  // for Claimed: the run that holds the claim
    QString reason;          // for the ways of failing: the journal's id

    bool operator==(const UnitStatus &other) const = default;
};

// The state's name as the command line's CSV and JSON give it: "left",
// "done", "changed", "claimed", "failed", "not-proven", "not-swapped",
// "interrupted", "claim-lost".
QString stateName(UnitStatus::State state);

// A manifest's units as the journal has them, kept up to date look by look.
// Each look reads only what changed since the one before: the provisionings
// after the last one seen, those that were still running then, and the
// claims, which hold only the units being provisioned now. What a look costs
// follows the batch, not the journal's history; only the first reads the
// manifest's past.
class ManifestOverview
{
public:
    explicit ManifestOverview(const QList<ManifestUnit> &units);

    // One look at the journal. False, with nothing changed, when the
    // journal could not be read; the rows whose status changed go to
    // `changed`, in order.
    bool update(Journal &journal, QList<int> *changed = nullptr);
    const QList<UnitStatus> &statuses() const { return m_statuses; }
    int count(UnitStatus::State state) const { return m_counts[size_t(state)]; }

private:
    void take(const Journal::Provisioning &provisioning, QSet<int> &touched);
    void takeClaims(const QList<Journal::ClaimRow> &rows, QSet<int> &touched);
    UnitStatus statusOf(int row) const;

    QList<ManifestUnit> m_units;
    QHash<QString, int> m_rows;
    QHash<QString, Journal::Provisioning> m_proven;  // the newest proven, by unit
    QHash<QString, Journal::Provisioning> m_failed;  // the newest that ended otherwise
    QHash<QString, Journal::ClaimRow> m_claims;      // the live ones
    QSet<qint64> m_running;                          // provisionings not ended when last read
    qint64 m_lastId = 0;
    QList<UnitStatus> m_statuses;
    std::array<int, UnitStatus::StateCount> m_counts{};
};

// Every unit's status in one look. Empty when the journal cannot say.
QList<UnitStatus> manifestStatus(Journal &journal, const QList<ManifestUnit> &units);
