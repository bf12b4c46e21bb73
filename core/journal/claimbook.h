#pragma once

#include "journalentry.h"
#include "core/process/processidentity.h"

#include <QList>
#include <QString>

#include <optional>

// The claims on units, as a run takes, renews and lets them go: what keeps
// two stations, or two ports, from ever writing the same unit. The journal
// keeps them beside its entries, so that a claim and the entry it guards
// are written in one transaction.
class ClaimBook
{
public:
    virtual ~ClaimBook() = default;

    // A claim on a unit, as the claims table holds it.
    struct ClaimRow
    {
        QString unit;
        ProcessIdentity holder;
        qint64 takenMs = 0;
        qint64 leaseUntilMs = 0;  // on this station's wall clock, to be shown
        qint64 leaseLeftMs = 0;   // when read, on the journal's lease clock
        qint64 entry = 0;  // the unit's provision entry: the claim's token
        // Whether it still held when read: its lease ran, on the journal's
        // own clock, and its process is not provably gone.
        bool isLive() const;
    };
    // Claiming a unit of a batch for this run, in one transaction: the check
    // that no live claim holds it; unless `again`, that the journal does not
    // already hold it as provisioned with entry.content (Done) or, unless
    // `changedToo`, with other content (Changed); then the start entry
    // itself, whose id goes to entry.id, and the claim. Nothing when the
    // journal fails.
    enum class Claim { Taken, Held, Done, Changed };
    struct ClaimResult
    {
        Claim claim = Claim::Held;
        ClaimRow holder;  // for Held
    };
    virtual std::optional<ClaimResult> claim(JournalEntry &entry, const ProcessIdentity &self, bool again, bool changedToo) = 0;
    // A lease made longer by this run: NotOurs when the claim is no longer
    // ours, Failed when the journal could not be asked.
    enum class Renewal { Renewed, NotOurs, Failed };
    virtual Renewal renew(const QString &unit, const ProcessIdentity &self) = 0;
    // Lets go of a claim of this run.
    virtual bool release(const QString &unit, const ProcessIdentity &self) = 0;
    // Frees another run's claim: only a dead one unless `force`. The claim
    // that was there, when there was one; Held when it is live and not forced.
    virtual std::optional<ClaimResult> releaseClaim(const QString &unit, bool force) = 0;
    virtual QList<ClaimRow> claims() = 0;
};
