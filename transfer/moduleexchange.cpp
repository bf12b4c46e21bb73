#include "moduleexchange.h"

#include "contentrecord.h"
#include "lineinterrupt.h"
#include "seriallink.h"

#include <QElapsedTimer>

namespace {

DownloadOutcome::End exchangeDownload(SerialLink &link, const LinkSettings &settings, DownloadProgress &progress,
                                      const LineInterrupt *interrupt)
{
    using End = DownloadOutcome::End;
    auto interrupted = [interrupt] { return interrupt && interrupt->isTriggered(); };
    link.writeByte(RequestByte);
    link.writeByte(DownloadCommand);
    if (link.readByte() != DownloadReady)
        return interrupted() ? End::Interrupted : End::NoReady;
    progress.setValue(10);
    link.readByte();  // the module's second byte carries nothing we use

    int sent = 10;
    const QChar separator = settingChar(settings.DownloadSeparator);
    for (const QString &piece : settings.RecordText.split(separator)) {
        for (QChar c : piece) {
            link.writeByte(recordByte(c));
            if (interrupted())
                return End::Interrupted;
            progress.setValue(++sent);
        }
        link.writeByte(PieceEnd);
        progress.setValue(++sent);
    }

    const auto ack = static_cast<unsigned char>(settings.AckChar);
    const bool first = link.readByte() == ack;
    const bool second = link.readByte() == ack;
    if (first || second)
        return End::Acknowledged;
    return interrupted() ? End::Interrupted : End::NoAcknowledge;
}

} // namespace

bool downloadToModule(const LinkSettings &settings, DownloadProgress &progress,
                      const LineInterrupt *interrupt, DownloadOutcome *outcome)
{
    progress.setRange(int(settings.RecordText.size()) + 10);
    progress.reset();

    DownloadOutcome result;
    SerialLink link(interrupt);
    if (link.open(settings.Port, DownloadReadTimeoutMs) != SerialLink::OpenStatus::Opened)
        result.problem = link.openProblem();
    else
        result.end = exchangeDownload(link, settings, progress, interrupt);
    result.bytesSent = link.bytesWritten();
    result.bytesReceived = link.bytesRead();
    if (outcome)
        *outcome = result;
    return result.end == DownloadOutcome::End::Acknowledged;
}

UploadAnswer receiveUploadAnswer(SerialLink &link, char uploadCommand,
                                 const std::function<bool()> &afterEachRead)
{
    UploadAnswer answer;
    link.writeByte(RequestByte);
    int count = link.writeByte(static_cast<unsigned char>(uploadCommand));
    QElapsedTimer clock;
    clock.start();
    while (count != 0 && answer.bytes.size() < MaxAnswerBytes && clock.elapsed() < MaxAnswerMs) {
        const std::optional<unsigned char> byte = link.readByte();
        count = byte ? 1 : 0;
        if (byte)
            answer.bytes.append(char(*byte));
        if (!afterEachRead()) {
            answer.cancelled = true;
            break;
        }
    }
    return answer;
}

UploadOutcome uploadFromModule(const LinkSettings &settings, const std::function<bool()> &afterEachRead,
                               const LineInterrupt *interrupt)
{
    UploadOutcome outcome;
    SerialLink link(interrupt);
    if (link.open(settings.Port, UploadReadTimeoutMs) != SerialLink::OpenStatus::Opened) {
        outcome.problem = link.openProblem();
        return outcome;
    }
    outcome.opened = true;
    outcome.answer = receiveUploadAnswer(link, settings.UploadCommand, afterEachRead);
    outcome.interrupted = interrupt && interrupt->isTriggered();
    outcome.bytesSent = link.bytesWritten();
    outcome.bytesReceived = link.bytesRead();
    return outcome;
}
