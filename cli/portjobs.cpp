#include "portjobs.h"

#include "content/readupfile.h"
#include "phrases.h"
#include "portrun.h"
#include "transfer/lineinterrupt.h"
#include "transfer/moduleoperations.h"
#include "transfer/seriallink.h"

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
    if (outcome.ending == Ending::BadAnswer)
        result.message = Phrase::answerProblem(outcome.answerError, outcome.fieldCount);
    return result;
}

} // namespace

Result readUpPort(const LinkSettings &settings, const PortContext &context, FormValues *values)
{
    BarWatcher watcher(context, QStringLiteral("read-up"));
    SerialLink link(context.interrupt);
    const ReadupOutcome outcome = readUp(link, settings, initialFormValues(), watcher);
    if (outcome.ending == Ending::Done) {
        watcher.finish();
        *values = outcome.values;
    }
    return readUpResult(settings, QStringLiteral("read-up"), outcome);
}

Result readUpToFilePort(OutputFile &file, const LinkSettings &settings, const PortContext &context, const QString &operation)
{
    BarWatcher watcher(context, operation);
    SerialLink link(context.interrupt);
    const FileReadup readup = readUpToFile(file, link, settings, watcher);
    Result result = readUpResult(settings, operation, readup.read);
    if (readup.read.ending == Ending::Done)
        watcher.finish();
    if (readup.kept()) {
        result.output = file.path();
    } else if (readup.unsavable) {
        result.code = ModuleFailed;
        result.message = QStringLiteral("the module's content cannot be kept in a content file: ") + Phrase::unsavable(*readup.unsavable);
    } else if (readup.fileError) {
        result.code = readup.read.ending == Ending::Done ? NotRecorded : Refused;
        result.message = QStringLiteral("cannot write %1: %2").arg(file.path(), Phrase::fileError(readup.fileError));
    }
    return result;
}

Result downloadPort(const LinkSettings &settings, const PortContext &context)
{
    BarProgress progress(context);
    SerialLink link(context.interrupt);
    return resultOf(settings, QStringLiteral("download"), downloadToModule(link, settings, progress));
}

Result verifyPort(LinkSettings settings, const FormValues &form, const PortContext &context)
{
    BarWatcher watcher(context, QStringLiteral("verify"));
    SerialLink link(context.interrupt);
    const VerifyOutcome outcome = verify(link, settings, form, watcher);
    if (outcome.ending == Ending::Done || outcome.ending == Ending::Mismatch)
        watcher.finish();
    Result result = resultOf(settings, QStringLiteral("verify"), outcome);
    if (outcome.ending == Ending::Mismatch) {
        result.differences = outcome.comparison.differences;
        if (outcome.comparison.error != AnswerError::None)
            result.message = Phrase::answerProblem(outcome.comparison.error, outcome.comparison.fieldCount);
    }
    return result;
}
