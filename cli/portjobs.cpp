#include "portjobs.h"

#include "core/operations/readupfile.h"
#include "core/journal/journalreason.h"
#include "core/journal/journalrecord.h"
#include "phrases.h"
#include "portrun.h"
#include "core/link/lineinterrupt.h"
#include "core/operations/moduleoperations.h"
#include "core/plan/transferplan.h"
#include "core/link/seriallink.h"

#include <QFileInfo>

#include <functional>

namespace {

// The port's bar follows the answer's bytes; Ctrl+C ends the receive.
class BarWatcher : public UploadWatcher
{
public:
    BarWatcher(const PortContext &context, const QString &stage) : m_context(context), m_stage(stage) {}
    bool received(int bytes) override
    {
        m_context.bars->update(m_context.row, m_stage, bytes, AnswerBytes);
        return !m_context.interrupt->isTriggered();
    }
    void finish() { m_context.bars->update(m_context.row, m_stage, AnswerBytes, AnswerBytes); }

private:
    const PortContext &m_context;
    QString m_stage;
};

class BarProgress : public DownloadProgress
{
public:
    explicit BarProgress(const PortContext &context) : m_context(context) {}
    void setRange(int maximum) override { m_maximum = maximum; }
    void reset() override { setValue(0); }
    void setValue(int value) override { m_context.bars->update(m_context.row, QStringLiteral("download"), value, m_maximum); }

private:
    const PortContext &m_context;
    int m_maximum = 0;
};

ExitCode codeOf(Ending ending)
{
    switch (ending) {
    case Ending::Done: return Success;
    case Ending::Refused: return Refused;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed: return PortUnavailable;
    case Ending::Cancelled:
    case Ending::Interrupted: return Interrupted;
    default: return ModuleFailed;
    }
}

Result resultOf(const LinkSettings &settings, const QString &operation, const ExchangeReport &report)
{
    Result result;
    result.port = settings.Port;
    result.operation = operation;
    result.code = codeOf(report.ending);
    result.message = Phrase::ending(report);
    result.seconds = report.seconds;
    result.bytesSent = report.bytesSent;
    result.bytesReceived = report.bytesReceived;
    return result;
}

Result readUpResult(const LinkSettings &settings, const QString &operation, const ReadupOutcome &outcome)
{
    Result result = resultOf(settings, operation, outcome);
    if (outcome.ending == Ending::BadAnswer && !outcome.lineClosed)
        result.message = Phrase::answerProblem(outcome.answerError, outcome.fieldCount);
    result.noAnswer = outcome.ending == Ending::BadAnswer && outcome.answerError == AnswerError::NoSeparator;
    return result;
}

JournalEntry entryFor(const QString &operation, const LinkSettings &settings, const PortContext &context)
{
    JournalEntry entry = startEntry(operation, settings.Port);
    entry.unit = context.unit;
    entry.file = context.file;
    return entry;
}

// An operation the journal would not take the start of is not done at all.
Result unrecorded(const LinkSettings &settings, const QString &operation, const JournalRecord &record)
{
    Result result;
    result.port = settings.Port;
    result.operation = operation;
    result.code = Refused;
    result.message = QStringLiteral("the journal does not take the entry, nothing was sent: ") + Phrase::journalProblem(record.problem());
    return result;
}

// The end of the operation into its entry; the result says so when the
// journal would not take it.
void finish(JournalRecord &record, const ExchangeReport &report, Result &result, AnswerError answerError = AnswerError::None,
            int fieldCount = 0, const QString &reason = {})
{
    JournalEntry &entry = record.entry();
    setEnding(entry, report, answerError, fieldCount);
    if (!reason.isEmpty())
        entry.reason = reason;
    result.reason = entry.reason;
    entry.exitCode = result.code;
    entry.differences = result.differences;
    result.journalEntry = entry.id;
    if (!record.finish()) {
        result.code = result.code == Success ? NotRecorded : result.code;
        result.message = (result.message.isEmpty() ? QString() : result.message + QStringLiteral("; "))
                       + QStringLiteral("not recorded in the journal: ") + Phrase::journalProblem(record.problem());
        result.reason = JournalReason::NotRecorded;
    }
}

} // namespace

Result readUpPort(const LinkSettings &settings, const PortContext &context, FormValues *values)
{
    const QString operation = QStringLiteral("read-up");
    JournalRecord record(context.journal, entryFor(JournalName::Readup, settings, context));
    if (!record.begun())
        return unrecorded(settings, operation, record);
    BarWatcher watcher(context, operation);
    SerialLink link(context.interrupt);
    const ReadupOutcome outcome = readUp(link, settings, initialFormValues(), watcher);
    link.close();
    if (outcome.ending == Ending::Done) {
        watcher.finish();
        *values = outcome.values;
        setContent(record.entry(), outcome.values);
    }
    if (!outcome.answer.isEmpty())
        record.entry().recordSha256 = sha256Hex(outcome.answer);
    Result result = readUpResult(settings, operation, outcome);
    finish(record, outcome, result, outcome.answerError, outcome.fieldCount);
    return result;
}

Result readUpToFilePort(OutputFile &file, const LinkSettings &settings, const PortContext &context, const QString &operation)
{
    JournalEntry start = entryFor(operation == QLatin1String("backup") ? JournalName::Backup : JournalName::Readup, settings, context);
    start.file = QFileInfo(file.path()).absoluteFilePath();
    JournalRecord record(context.journal, start);
    if (!record.begun())
        return unrecorded(settings, operation, record);
    BarWatcher watcher(context, operation);
    SerialLink link(context.interrupt);
    const FileReadup readup = readUpToFile(file, link, settings, watcher);
    link.close();
    Result result = readUpResult(settings, operation, readup.read);
    if (readup.read.ending == Ending::Done) {
        watcher.finish();
        setContent(record.entry(), readup.read.values);
    }
    if (!readup.read.answer.isEmpty())
        record.entry().recordSha256 = sha256Hex(readup.read.answer);
    if (readup.kept()) {
        result.output = file.path();
    } else if (readup.unsavable) {
        result.code = ModuleFailed;
        result.message = QStringLiteral("the module's content cannot be kept in a content file: ") + Phrase::unsavable(*readup.unsavable);
    } else if (readup.fileError) {
        result.code = readup.read.ending == Ending::Done ? NotRecorded : Refused;
        result.message = QStringLiteral("cannot write %1: %2").arg(file.path(), Phrase::fileError(readup.fileError));
    }
    ExchangeReport report = readup.read;
    if (result.code != Success && report.ending == Ending::Done)
        report.ending = readup.fileError ? Ending::Refused : Ending::BadAnswer;
    const QString reason = readup.kept() ? QString() : readup.unsavable ? JournalReason::Unsavable
                         : readup.fileError ? JournalReason::FileNotWritten : QString();
    finish(record, report, result, readup.read.answerError, readup.read.fieldCount, reason);
    return result;
}

Result downloadPort(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const PortContext &context)
{
    const QString operation = QStringLiteral("download");
    JournalEntry start = entryFor(JournalName::Download, settings, context);
    setContent(start, form);
    start.recordSha256 = plan.recordSha256();
    JournalRecord record(context.journal, start);
    if (!record.begun())
        return unrecorded(settings, operation, record);
    BarProgress progress(context);
    SerialLink link(context.interrupt);
    const ExchangeReport report = downloadToModule(link, settings, plan, progress);
    Result result = resultOf(settings, operation, report);
    if (result.code == Interrupted)
        result.message = QStringLiteral("interrupted: the module's content is now unknown; run the download again");
    result.noAnswer = report.ending == Ending::NoReady || report.ending == Ending::NoAcknowledge;
    record.entry().backup = context.backup;
    finish(record, report, result);
    return result;
}

Result verifyPort(LinkSettings settings, const FormValues &form, const PortContext &context)
{
    const QString operation = QStringLiteral("verify");
    JournalEntry start = entryFor(JournalName::Verify, settings, context);
    setContent(start, form);
    JournalRecord record(context.journal, start);
    if (!record.begun())
        return unrecorded(settings, operation, record);
    BarWatcher watcher(context, operation);
    SerialLink link(context.interrupt);
    const VerifyOutcome outcome = verify(link, settings, form, watcher);
    link.close();
    if (outcome.ending == Ending::Done || outcome.ending == Ending::Mismatch)
        watcher.finish();
    Result result = resultOf(settings, operation, outcome);
    if (outcome.ending == Ending::Mismatch) {
        result.differences = outcome.comparison.differences;
        if (outcome.comparison.error != AnswerError::None && !outcome.lineClosed)
            result.message = Phrase::answerProblem(outcome.comparison.error, outcome.comparison.fieldCount);
        result.noAnswer = outcome.comparison.error == AnswerError::NoSeparator;
    }
    if (!outcome.answer.isEmpty())
        record.entry().recordSha256 = sha256Hex(outcome.answer);
    finish(record, outcome, result, outcome.comparison.error, outcome.comparison.fieldCount);
    return result;
}

Result provisionUnit(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const PortContext &context,
                     int retries, OutputFile *backup)
{
    Result total;
    total.port = settings.Port;
    total.unit = context.unit;
    total.operation = QStringLiteral("provision");
    auto add = [&total](const Result &step) {
        total.seconds += step.seconds;
        total.bytesSent += step.bytesSent;
        total.bytesReceived += step.bytesReceived;
    };
    PortContext own = context;
    if (backup) {
        const Result kept = readUpToFilePort(*backup, settings, own, QStringLiteral("backup"));
        add(kept);
        if (kept.code != Success) {
            total.code = kept.code == NotRecorded ? Refused : kept.code;
            total.message = QStringLiteral("backup failed, module not written: ") + kept.message;
            total.reason = JournalReason::BackupFailed;
            return total;
        }
        own.backup = total.backup = kept.output;
    }
    // Each step, tried again while the module gives no answer.
    auto attempt = [&](const std::function<Result()> &step) {
        Result result;
        for (int tries = 0; tries <= retries; ++tries) {
            result = step();
            add(result);
            if (result.code == Success || !result.noAnswer)
                break;
        }
        return result;
    };
    const Result written = attempt([&] { return downloadPort(settings, form, plan, own); });
    if (written.code != Success) {
        total.code = written.code;
        total.message = QStringLiteral("download: ") + written.message;
        total.reason = written.reason;
        return total;
    }
    const Result proved = attempt([&] { return verifyPort(settings, form, own); });
    total.code = proved.code;
    total.differences = proved.differences;
    if (proved.code != Success)
        total.message = QStringLiteral("verify: ") + proved.message;
    total.reason = proved.reason;
    return total;
}
