#include "steps.h"

#include "core/journal/journalreason.h"
#include "core/journal/journalrecord.h"
#include "core/link/lineinterrupt.h"
#include "core/link/seriallink.h"
#include "core/operations/moduleoperations.h"
#include "core/operations/readupfile.h"
#include "core/plan/transferplan.h"

#include <QFileInfo>

namespace {

// The step's progress follows the answer's bytes; the interrupt ends the receive.
class AnswerWatcher : public UploadWatcher
{
public:
    AnswerWatcher(const StepContext &context, Stage stage) : m_context(context), m_stage(stage) {}
    bool received(int bytes) override
    {
        if (m_context.progress)
            m_context.progress->advance(m_stage, bytes, AnswerBytes);
        return !m_context.interrupt || !m_context.interrupt->isTriggered();
    }
    void finish()
    {
        if (m_context.progress)
            m_context.progress->advance(m_stage, AnswerBytes, AnswerBytes);
    }

private:
    const StepContext &m_context;
    Stage m_stage;
};

class WriteWatcher : public DownloadProgress
{
public:
    explicit WriteWatcher(const StepContext &context) : m_context(context) {}
    void setRange(int maximum) override { m_maximum = maximum; }
    void reset() override { setValue(0); }
    void setValue(int value) override
    {
        if (m_context.progress)
            m_context.progress->advance(Stage::Download, value, m_maximum);
    }

private:
    const StepContext &m_context;
    int m_maximum = 0;
};

QString operationOf(Stage stage)
{
    switch (stage) {
    case Stage::Backup: return JournalName::Backup;
    case Stage::Download: return JournalName::Download;
    case Stage::Readup: return JournalName::Readup;
    case Stage::Verify: return JournalName::Verify;
    }
    return {};
}

JournalEntry entryFor(Stage stage, const LinkSettings &settings, const StepContext &context)
{
    JournalEntry entry = startEntry(operationOf(stage), settings.Port);
    entry.unit = context.unit;
    entry.claimToken = context.claimToken;
    entry.file = context.file;
    return entry;
}

StepOutcome notBegun(Stage stage, const JournalRecord &record)
{
    StepOutcome outcome;
    outcome.stage = stage;
    outcome.report.ending = Ending::Refused;
    outcome.record = StepOutcome::Record::NotBegun;
    outcome.journalProblem = record.problem();
    outcome.reason = JournalReason::NotRecorded;
    return outcome;
}

// The step's end into its entry.
void finish(JournalRecord &record, StepOutcome &outcome)
{
    JournalEntry &entry = record.entry();
    setEnding(entry, outcome.report, outcome.answerError, outcome.fieldCount);
    if (!outcome.reason.isEmpty())
        entry.reason = outcome.reason;
    outcome.reason = entry.reason;
    entry.differences = outcome.differences;
    outcome.entry = entry.id;
    if (!record.finish()) {
        outcome.record = StepOutcome::Record::NotCompleted;
        outcome.journalProblem = record.problem();
    }
}

} // namespace

bool StepOutcome::succeeded() const
{
    return report.ending == Ending::Done && !unsavable && !fileError;
}

bool backupLetsWrite(const StepOutcome &kept, bool writeUnread)
{
    if (kept.record != StepOutcome::Record::Done)
        return false;
    if (kept.succeeded())
        return true;
    if (!writeUnread || kept.fileError)
        return false;
    switch (kept.report.ending) {
    case Ending::Done: return kept.unsavable.has_value();  // read, but no file can hold it
    case Ending::Refused:
    case Ending::Cancelled:
    case Ending::Interrupted: return false;
    default: return true;
    }
}

bool StepOutcome::noAnswer() const
{
    return report.ending == Ending::NoReady || report.ending == Ending::NoAcknowledge
        || ((report.ending == Ending::BadAnswer || report.ending == Ending::Mismatch) && answerError == AnswerError::NoSeparator);
}

StepOutcome readUpStep(const LinkSettings &settings, const StepContext &context)
{
    JournalRecord record(context.journal, entryFor(Stage::Readup, settings, context));
    if (!record.begun())
        return notBegun(Stage::Readup, record);
    AnswerWatcher watcher(context, Stage::Readup);
    SerialLink link(context.interrupt);
    const ReadupOutcome read = readUp(link, settings, initialFormValues(), watcher);
    link.close();
    StepOutcome outcome;
    outcome.stage = Stage::Readup;
    outcome.report = read;
    outcome.answerError = read.answerError;
    outcome.fieldCount = read.fieldCount;
    if (read.ending == Ending::Done) {
        watcher.finish();
        outcome.answered = true;
        outcome.values = read.values;
        setContent(record.entry(), read.values);
    }
    if (!read.answer.isEmpty())
        record.entry().recordSha256 = sha256Hex(read.answer);
    finish(record, outcome);
    return outcome;
}

StepOutcome keepStep(OutputFile &file, const LinkSettings &settings, const StepContext &context, Stage stage,
                     const EntryName &nameFor)
{
    JournalEntry start = entryFor(stage, settings, context);
    start.file = nameFor ? QString() : QFileInfo(file.path()).absoluteFilePath();
    JournalRecord record(context.journal, start);
    if (!record.begun())
        return notBegun(stage, record);
    if (nameFor) {
        file.setTarget(nameFor(record.entry().id));
        record.entry().file = QFileInfo(file.path()).absoluteFilePath();
    }
    AnswerWatcher watcher(context, stage);
    SerialLink link(context.interrupt);
    const FileReadup readup = readUpToFile(file, link, settings, watcher);
    link.close();
    StepOutcome outcome;
    outcome.stage = stage;
    outcome.report = readup.read;
    outcome.answerError = readup.read.answerError;
    outcome.fieldCount = readup.read.fieldCount;
    outcome.unsavable = readup.unsavable;
    outcome.fileError = readup.fileError;
    if (readup.read.ending == Ending::Done) {
        watcher.finish();
        outcome.answered = true;
        outcome.values = readup.read.values;
        setContent(record.entry(), readup.read.values);
    }
    if (!readup.read.answer.isEmpty())
        record.entry().recordSha256 = sha256Hex(readup.read.answer);
    if (readup.kept())
        outcome.output = file.path();
    else if (readup.unsavable)
        outcome.reason = JournalReason::Unsavable;
    else if (readup.fileError)
        outcome.reason = JournalReason::FileNotWritten;
    if (!readup.kept() && outcome.report.ending == Ending::Done)
        outcome.report.ending = readup.fileError ? Ending::Refused : Ending::BadAnswer;
    finish(record, outcome);
    return outcome;
}

StepOutcome downloadStep(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const StepContext &context)
{
    JournalEntry start = entryFor(Stage::Download, settings, context);
    setContent(start, form);
    start.recordSha256 = plan.recordSha256();
    start.backup = context.backup;
    JournalRecord record(context.journal, start);
    if (!record.begun())
        return notBegun(Stage::Download, record);
    WriteWatcher progress(context);
    SerialLink link(context.interrupt);
    StepOutcome outcome;
    outcome.stage = Stage::Download;
    outcome.report = downloadToModule(link, settings, plan, progress);
    finish(record, outcome);
    return outcome;
}

StepOutcome verifyStep(const LinkSettings &settings, const FormValues &form, const StepContext &context)
{
    JournalEntry start = entryFor(Stage::Verify, settings, context);
    setContent(start, form);
    JournalRecord record(context.journal, start);
    if (!record.begun())
        return notBegun(Stage::Verify, record);
    AnswerWatcher watcher(context, Stage::Verify);
    SerialLink link(context.interrupt);
    LinkSettings own = settings;
    const VerifyOutcome verified = verify(link, own, form, watcher);
    link.close();
    StepOutcome outcome;
    outcome.stage = Stage::Verify;
    outcome.report = verified;
    if (verified.ending == Ending::Done || verified.ending == Ending::Mismatch)
        watcher.finish();
    if (verified.ending == Ending::Mismatch) {
        outcome.differences = verified.comparison.differences;
        outcome.answerError = verified.comparison.error;
        outcome.fieldCount = verified.comparison.fieldCount;
    }
    if (!verified.answer.isEmpty())
        record.entry().recordSha256 = sha256Hex(verified.answer);
    finish(record, outcome);
    return outcome;
}
