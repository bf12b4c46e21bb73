#include "unitprovisioning.h"

#include "core/journal/journalreason.h"
#include "core/journal/sharedjournal.h"
#include "core/link/lineinterrupt.h"
#include "core/plan/transferplan.h"

#include <functional>

namespace {

// A step tried again while the module gives no answer.
StepOutcome attempt(UnitOutcome &outcome, int retries, const std::function<StepOutcome()> &step)
{
    StepOutcome result;
    for (int tries = 0; tries <= retries; ++tries) {
        result = step();
        outcome.steps.append(result);
        outcome.seconds += result.report.seconds;
        outcome.bytesSent += result.report.bytesSent;
        outcome.bytesReceived += result.report.bytesReceived;
        if (result.succeeded() || !result.noAnswer() || result.record == StepOutcome::Record::NotBegun)
            break;
    }
    return result;
}

bool interrupted(const StepOutcome &step)
{
    return step.report.ending == Ending::Interrupted || step.report.ending == Ending::Cancelled;
}

// The state once the unit was (or may have been) written.
UnitState afterWriting(const StepOutcome &written, const StepOutcome *proved)
{
    if (!proved)
        return interrupted(written) ? UnitState::Interrupted : written.report.ending == Ending::Done ? UnitState::WrittenNotProven
                                                                                                  : UnitState::Failed;
    if (interrupted(*proved))
        return UnitState::Interrupted;
    if (proved->record == StepOutcome::Record::NotBegun)
        return UnitState::WrittenNotProven;
    if (!proved->succeeded())
        return UnitState::Failed;
    return proved->record == StepOutcome::Record::Done ? UnitState::Proven : UnitState::WrittenNotProven;
}

// Everything up to the first byte of the unit: the backup, the swap check
// and the claim. False when the unit must not be written.
bool readyToWrite(const UnitJob &job, const LinkSettings &settings, StepContext &context, SharedJournal *journal,
                  UnitOutcome &outcome)
{
    if (job.backup) {
        const StepOutcome kept = attempt(outcome, job.retries, [&] { return keepStep(*job.backup, settings, context, Stage::Backup, job.backupName); });
        if (!backupLetsWrite(kept, false)) {
            outcome.state = interrupted(kept) ? UnitState::Interrupted : UnitState::NotWritten;
            return false;
        }
        context.backup = outcome.backup = kept.output;
        // A module that holds what another unit was proven with was not
        // swapped: the same record, as the module stores it ("0005" for "5").
        const PlannedTransfer held = planTransfer(kept.values, settings, RecordPurpose::Download);
        if (journal && !job.force && held.plan) {
            outcome.heldUnit = journal->unitHolding(held.plan->recordSha256(), job.unit);
            if (!outcome.heldUnit.isEmpty()) {
                outcome.state = UnitState::NotSwapped;
                return false;
            }
        }
    }
    if (journal && job.claim && !journal->renew(job.unit)) {
        outcome.state = UnitState::ClaimLost;
        return false;
    }
    return true;
}

QString resultName(UnitState state)
{
    switch (state) {
    case UnitState::Proven: return JournalName::Ok;
    case UnitState::Interrupted: return JournalName::Interrupted;
    case UnitState::NotWritten:
    case UnitState::NotSwapped:
    case UnitState::ClaimLost: return JournalName::Refused;
    default: return JournalName::Failed;
    }
}

QString unitReason(const UnitOutcome &outcome)
{
    switch (outcome.state) {
    case UnitState::Proven: return {};
    case UnitState::NotSwapped: return JournalReason::withValue(JournalReason::NotSwapped, outcome.heldUnit);
    case UnitState::ClaimLost: return JournalReason::ClaimLost;
    case UnitState::WrittenNotProven: return JournalReason::NotProven;
    default: break;
    }
    const StepOutcome *last = outcome.decisive();
    if (last && last->stage == Stage::Backup && outcome.state == UnitState::NotWritten)
        return JournalReason::BackupFailed;
    return last ? last->reason : QString();
}

// The exit code the unit's entry keeps, as provision reports the unit: 0
// proven, 5 written but not proven, 2 not written, else its last step's.
int unitExitCode(const UnitOutcome &outcome)
{
    switch (outcome.state) {
    case UnitState::Proven: return 0;
    case UnitState::WrittenNotProven: return 5;
    case UnitState::NotSwapped: return 2;
    case UnitState::ClaimLost: return outcome.wrote() ? 5 : 2;
    default: break;
    }
    const StepOutcome *last = outcome.decisive();
    const int code = last ? exitCodeOf(last->report.ending) : 2;
    return code == 0 ? 2 : code;
}

// The unit's claim completed: ok only for a proven unit.
void completeClaim(const UnitJob &job, SharedJournal *journal, UnitOutcome &outcome)
{
    if (!journal || !job.claim)
        return;
    JournalEntry &claim = *job.claim;
    ExchangeReport ended;
    ended.ending = Ending::Done;
    setEnding(claim, ended);
    claim.result = resultName(outcome.state);
    claim.reason = unitReason(outcome);
    claim.exitCode = unitExitCode(outcome);
    claim.bytesSent = outcome.bytesSent;
    claim.bytesReceived = outcome.bytesReceived;
    claim.backup = outcome.backup;
    if (const StepOutcome *last = outcome.decisive())
        claim.differences = last->differences;
    // The proof, like every entry of the unit, counts only under its claim.
    claim.claimToken = claim.id;
    outcome.claimRecorded = journal->complete(claim);
    if (!outcome.claimRecorded) {
        outcome.journalProblem = journal->problem();
        if (outcome.journalProblem.error == JournalProblem::Error::ClaimLost)
            outcome.state = UnitState::ClaimLost;
        else if (outcome.state == UnitState::Proven)
            outcome.state = UnitState::WrittenNotProven;
    }
    journal->release(job.unit);
}

// Whether the unit's claim left this run while it worked: the journal
// refused an entry of the unit, or its fence ran out while the journal
// answered (a run frozen past its lease). A fence that ran out while the
// journal did not answer ends the unit as written, not proven (or not
// written): its ends are written once the journal is back.
bool claimLeft(const UnitOutcome &outcome, const LineInterrupt &fenced)
{
    bool unanswered = false;
    for (const StepOutcome &step : outcome.steps) {
        if (step.journalProblem.error == JournalProblem::Error::ClaimLost)
            return true;
        unanswered = unanswered || step.record != StepOutcome::Record::Done;
    }
    return fenced.isFenced() && !unanswered;
}

} // namespace

bool UnitOutcome::wrote() const
{
    for (const StepOutcome &step : steps) {
        if (step.stage == Stage::Download && step.report.bytesSent > 0)
            return true;
    }
    return false;
}

UnitOutcome provisionUnit(const UnitJob &job, const LinkSettings &settings, const StepContext &given, SharedJournal *journal)
{
    UnitOutcome outcome;
    StepContext context = given;
    context.unit = job.unit;
    // A claimed unit's bytes go out only while its claim is this run's.
    const bool claimed = journal && job.claim;
    LineInterrupt fenced(given.interrupt, claimed ? LineInterrupt::Fence([journal, unit = job.unit] { return journal->holds(unit); })
                                                  : LineInterrupt::Fence());
    if (claimed) {
        context.interrupt = &fenced;
        context.claimToken = job.claim->id;
        // Its entries are tried again through an outage until the fence
        // runs out, or the technician stops the port.
        journal->stopRetriesWith(job.unit, given.interrupt);
    }
    if (readyToWrite(job, settings, context, journal, outcome)) {
        const StepOutcome written = attempt(outcome, job.retries, [&] { return downloadStep(settings, job.form, *job.plan, context); });
        if (written.record == StepOutcome::Record::NotBegun) {
            outcome.state = UnitState::NotWritten;
        } else if (written.report.ending != Ending::Done || interrupted(written)) {
            outcome.state = afterWriting(written, nullptr);
        } else {
            // Written: proven only by a verify whose agreement the journal holds.
            const StepOutcome proved = attempt(outcome, job.retries, [&] { return verifyStep(settings, job.form, context); });
            outcome.state = afterWriting(written, &proved);
        }
    }
    if (claimed && outcome.state != UnitState::NotSwapped && claimLeft(outcome, fenced))
        outcome.state = UnitState::ClaimLost;
    completeClaim(job, journal, outcome);
    return outcome;
}
