#include "portjobs.h"

#include "core/journal/sharedjournal.h"
#include "phrases.h"
#include "portrun.h"

namespace {

// The port's bar follows the step.
class BarProgress : public StepProgress
{
public:
    explicit BarProgress(const PortContext &context) : m_context(context) {}
    void advance(Stage stage, int value, int maximum) override
    {
        m_context.bars->update(m_context.row, Phrase::stage(stage), value, maximum);
    }

private:
    const PortContext &m_context;
};

ExitCode codeOf(Ending ending)
{
    return ExitCode(exitCodeOf(ending));
}

void appendMessage(Result &result, const QString &more)
{
    result.message = (result.message.isEmpty() ? QString() : result.message + QStringLiteral("; ")) + more;
}

// A file step's own failures: content no file can hold, a disk that did not
// take the file.
void fileOutcome(const StepOutcome &step, Result &result)
{
    if (step.unsavable) {
        result.code = ModuleFailed;
        result.message = QStringLiteral("the module's content cannot be kept in a content file: ") + Phrase::unsavable(*step.unsavable);
    } else if (step.fileError) {
        result.code = step.answered ? NotRecorded : Refused;
        result.message = Phrase::cannotWrite(result.output, step.fileError);
    }
}

// How a step ended, in the command line's words.
Result resultOf(const LinkSettings &settings, const StepOutcome &step, const QString &path = {})
{
    Result result;
    result.port = settings.Port;
    result.operation = Phrase::stage(step.stage);
    result.journalEntry = step.entry;
    result.reason = step.reason;
    if (step.record == StepOutcome::Record::NotBegun) {
        result.code = Refused;
        result.message = QStringLiteral("the journal does not take the entry, nothing was sent: ") + Phrase::journalProblem(step.journalProblem);
        return result;
    }
    result.code = codeOf(step.report.ending);
    result.message = Phrase::ending(step.report);
    result.seconds = step.report.seconds;
    result.bytesSent = step.report.bytesSent;
    result.bytesReceived = step.report.bytesReceived;
    result.differences = step.differences;
    result.noAnswer = step.noAnswer();
    const bool answerProblem = step.report.ending == Ending::BadAnswer || step.report.ending == Ending::Mismatch;
    if (answerProblem && step.answerError != AnswerError::None && !step.report.lineClosed)
        result.message = Phrase::answerProblem(step.answerError, step.fieldCount);
    if (step.stage == Stage::Download && result.code == Interrupted)
        result.message = QStringLiteral("interrupted: the module's content is now unknown; run the download again");
    result.output = step.output.isEmpty() ? path : step.output;
    fileOutcome(step, result);
    if (step.output.isEmpty())
        result.output.clear();
    if (step.record == StepOutcome::Record::NotCompleted) {
        if (result.code == Success)
            result.code = NotRecorded;
        appendMessage(result, QStringLiteral("not recorded in the journal: ") + Phrase::journalProblem(step.journalProblem));
    }
    return result;
}

StepContext stepContext(const PortContext &context, StepProgress &progress)
{
    StepContext step;
    step.interrupt = context.interrupt;
    step.progress = &progress;
    step.journal = context.journal;
    step.unit = context.unit;
    step.file = context.file;
    step.backup = context.backup;
    return step;
}

} // namespace

Result readUpPort(const LinkSettings &settings, const PortContext &context, FormValues *values)
{
    BarProgress progress(context);
    const StepOutcome step = readUpStep(settings, stepContext(context, progress));
    if (step.succeeded())
        *values = step.values;
    return resultOf(settings, step);
}

Result readUpToFilePort(OutputFile &file, const LinkSettings &settings, const PortContext &context, Stage stage,
                        const EntryName &nameFor, StepOutcome *outcome)
{
    BarProgress progress(context);
    const StepOutcome step = keepStep(file, settings, stepContext(context, progress), stage, nameFor);
    if (outcome)
        *outcome = step;
    return resultOf(settings, step, file.path());
}

Result downloadPort(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const PortContext &context)
{
    BarProgress progress(context);
    return resultOf(settings, downloadStep(settings, form, plan, stepContext(context, progress)));
}

Result verifyPort(const LinkSettings &settings, const FormValues &form, const PortContext &context)
{
    BarProgress progress(context);
    return resultOf(settings, verifyStep(settings, form, stepContext(context, progress)));
}

Result provisionPort(const UnitJob &job, const LinkSettings &settings, const PortContext &context, SharedJournal *journal)
{
    BarProgress progress(context);
    const UnitOutcome outcome = provisionUnit(job, settings, stepContext(context, progress), journal);
    Result total;
    total.port = settings.Port;
    total.unit = job.unit;
    total.operation = QStringLiteral("provision");
    total.unitState = outcome.state;
    total.seconds = outcome.seconds;
    total.bytesSent = outcome.bytesSent;
    total.bytesReceived = outcome.bytesReceived;
    total.backup = outcome.backup;
    total.journalEntry = job.claim ? job.claim->id : 0;
    const StepOutcome *last = outcome.decisive();
    const Result step = last ? resultOf(settings, *last) : Result{};
    total.differences = step.differences;
    total.reason = job.claim ? job.claim->reason : step.reason;
    // The line says the state first (see Command::report); the message says
    // what there is to know beside it.
    switch (outcome.state) {
    case UnitState::Proven:
        break;
    case UnitState::NotSwapped:
        total.code = Refused;
        total.message = QStringLiteral("the module on %1 already holds unit %2: swap it").arg(settings.Port, outcome.heldUnit);
        break;
    case UnitState::ClaimLost:
        // Written under a lost claim is written, not proven (5); never written, refused.
        total.code = outcome.wrote() ? NotRecorded : Refused;
        total.message = (outcome.wrote() ? QStringLiteral("written, not proven; ") : QStringLiteral("nothing was written; "))
                      + QStringLiteral("the claim on the unit left this run (its lease ran out, or another station took the unit)");
        break;
    case UnitState::WrittenNotProven:
        total.code = NotRecorded;
        total.message = QStringLiteral("written; ") + step.operation + QStringLiteral(": ")
                      + (step.message.isEmpty() ? QStringLiteral("its end is not in the journal") : step.message);
        break;
    default:
        total.code = step.code == NotRecorded || step.code == Success ? Refused : step.code;
        total.message = (last && last->stage == Stage::Backup ? QStringLiteral("backup failed: ")
                                                             : step.operation + QStringLiteral(": ")) + step.message;
        break;
    }
    if (!outcome.claimRecorded && outcome.state != UnitState::WrittenNotProven && outcome.state != UnitState::ClaimLost)
        appendMessage(total, QStringLiteral("not recorded in the journal: ") + Phrase::journalProblem(outcome.journalProblem));
    return total;
}
