#include "moduleoperations.h"

#include "core/link/lineinterrupt.h"
#include "core/link/seriallink.h"
#include "core/plan/transferplan.h"

#include <QElapsedTimer>

namespace {

// Opens the link, asks and receives. Fills in how it ended when it ended
// before there was an answer to judge; Done otherwise.
UploadAnswer upload(SerialLink &link, const LinkSettings &settings, UploadWatcher &watcher, ExchangeReport *report)
{
    QElapsedTimer clock;
    clock.start();
    UploadAnswer answer;
    switch (link.open(settings.Port, UploadReadTimeoutMs)) {
    case SerialLink::OpenStatus::Opened: {
        watcher.started();
        answer = receiveUploadAnswer(link, settings.UploadCommand, [&] { return watcher.received(int(link.bytesRead())); });
        report->ending = link.isInterrupted() ? Ending::Interrupted : answer.cancelled ? Ending::Cancelled : Ending::Done;
        break;
    }
    case SerialLink::OpenStatus::OpenFailed:
        report->ending = Ending::PortUnavailable;
        report->port = link.openProblem();
        break;
    default:
        report->ending = Ending::LineSetupFailed;
        break;
    }
    report->bytesSent = link.bytesWritten();
    report->bytesReceived = link.bytesRead();
    report->lineClosed = link.hasHungUp();
    report->seconds = clock.nsecsElapsed() / 1e9;
    return answer;
}

} // namespace

ReadupOutcome readUp(SerialLink &link, const LinkSettings &settings, const FormValues &current, UploadWatcher &watcher)
{
    ReadupOutcome outcome;
    const UploadAnswer answer = upload(link, settings, watcher, &outcome);
    outcome.answer = answer.bytes;
    if (outcome.ending != Ending::Done)
        return outcome;
    const ReadupResult read = readModuleAnswer(answer.bytes, current);
    outcome.answerError = read.error;
    outcome.fieldCount = read.fieldCount;
    if (read.error != AnswerError::None)
        outcome.ending = Ending::BadAnswer;
    else
        outcome.values = read.values;
    return outcome;
}

VerifyOutcome verify(SerialLink &link, LinkSettings &settings, const FormValues &form, UploadWatcher &watcher)
{
    VerifyOutcome outcome;
    // The comparison text stays in the settings, as a verify has always
    // left it (what was built of it, after a refusal); the comparison itself
    // is the plan's, field by field.
    const PlannedTransfer planned = planTransfer(form, settings, RecordPurpose::Verify);
    if (!planned.plan) {
        outcome.refusal = buildContentRecord(form, settings, RecordPurpose::Verify);
        outcome.ending = Ending::Refused;
        return outcome;
    }
    settings.RecordText = planned.plan->record();
    const UploadAnswer answer = upload(link, settings, watcher, &outcome);
    outcome.answer = answer.bytes;
    if (outcome.ending != Ending::Done)
        return outcome;
    outcome.comparison = planned.plan->compare(answer.bytes);
    if (outcome.comparison.error != AnswerError::None || !outcome.comparison.differences.isEmpty())
        outcome.ending = Ending::Mismatch;
    return outcome;
}
