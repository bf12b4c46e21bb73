#include "moduleoperations.h"

#include "portrun.h"
#include "transfer/lineinterrupt.h"
#include "transfer/moduleanswer.h"
#include "transfer/moduleexchange.h"

#include <QElapsedTimer>

namespace {

constexpr int AnswerBytes = 750;  // what a whole answer takes, for the bar

QString portProblem(const SerialDevice::PortState &state)
{
    if (state.access == SerialDevice::Access::Free)
        return QStringLiteral("cannot set up the line");
    return QStringLiteral("cannot open the port: ") + SerialDevice::describe(state);
}

QString answerProblem(AnswerError error, int fieldCount)
{
    switch (error) {
    case AnswerError::NoSeparator:
        return QStringLiteral("no answer from the module");
    case AnswerError::WrongFieldCount:
        return QStringLiteral("the module sent %1 fields instead of %2").arg(fieldCount).arg(LineEditCount);
    case AnswerError::BadGroup:
        return QStringLiteral("the form's check boxes have no group numbers");
    case AnswerError::None:
        break;
    }
    return {};
}

// Opens, asks and receives, moving the port's bar; fills in how it went
// when it went wrong before there was an answer to judge.
UploadOutcome upload(const LinkSettings &settings, const PortContext &context, const QString &stage, Result *result)
{
    int reads = 0;
    QElapsedTimer clock;
    clock.start();
    const UploadOutcome outcome = uploadFromModule(settings, [&] {
        context.bars->update(context.row, stage, ++reads, AnswerBytes);
        return !context.interrupt->isTriggered();
    }, context.interrupt);
    result->port = settings.Port;
    result->operation = stage;
    result->seconds = clock.nsecsElapsed() / 1e9;
    result->bytesSent = outcome.bytesSent;
    result->bytesReceived = outcome.bytesReceived;
    if (!outcome.opened) {
        result->code = PortUnavailable;
        result->message = portProblem(outcome.problem);
    } else if (outcome.interrupted || outcome.answer.cancelled) {
        result->code = Interrupted;
        result->message = QStringLiteral("interrupted");
    } else {
        context.bars->update(context.row, stage, AnswerBytes, AnswerBytes);
    }
    return outcome;
}

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

} // namespace

Result readModule(const LinkSettings &settings, const PortContext &context, FormValues *values)
{
    Result result;
    const UploadOutcome outcome = upload(settings, context, QStringLiteral("read-up"), &result);
    if (result.code != Success)
        return result;
    const ReadupResult read = readModuleAnswer(answerText(outcome.answer.bytes), initialFormValues());
    if (read.error != AnswerError::None) {
        result.code = ModuleFailed;
        result.message = answerProblem(read.error, read.fieldCount);
        return result;
    }
    *values = read.values;
    return result;
}

Result downloadRecord(const LinkSettings &settings, const PortContext &context)
{
    Result result;
    result.port = settings.Port;
    result.operation = QStringLiteral("download");
    BarProgress progress(context);
    DownloadOutcome outcome;
    QElapsedTimer clock;
    clock.start();
    downloadToModule(settings, progress, context.interrupt, &outcome);
    result.seconds = clock.nsecsElapsed() / 1e9;
    result.bytesSent = outcome.bytesSent;
    result.bytesReceived = outcome.bytesReceived;
    switch (outcome.end) {
    case DownloadOutcome::End::Acknowledged:
        break;
    case DownloadOutcome::End::PortUnavailable:
        result.code = PortUnavailable;
        result.message = portProblem(outcome.problem);
        break;
    case DownloadOutcome::End::NoReady:
        result.code = ModuleFailed;
        result.message = QStringLiteral("the module did not answer the download request");
        break;
    case DownloadOutcome::End::NoAcknowledge:
        result.code = ModuleFailed;
        result.message = QStringLiteral("the module did not acknowledge the record");
        break;
    case DownloadOutcome::End::Interrupted:
        result.code = Interrupted;
        result.message = QStringLiteral("interrupted");
        break;
    }
    return result;
}

Result verifyModule(const LinkSettings &settings, const FormValues &form, const PortContext &context)
{
    Result result;
    const UploadOutcome outcome = upload(settings, context, QStringLiteral("verify"), &result);
    if (result.code != Success)
        return result;
    const QString text = answerText(outcome.answer.bytes);
    if (text == settings.RecordText)
        return result;
    result.code = ModuleFailed;
    const AnswerComparison comparison = compareWithAnswer(form, text);
    result.differences = comparison.differences;
    result.message = comparison.error != AnswerError::None
                         ? answerProblem(comparison.error, comparison.fieldCount)
                         : QStringLiteral("the module holds another configuration");
    return result;
}
