#include "moduleexchange.h"

#include "contentrecord.h"
#include "seriallink.h"

#include <QElapsedTimer>

namespace {

Ending exchangeDownload(SerialLink &link, const LinkSettings &settings, DownloadProgress &progress)
{
    auto interrupted = [&link] { return link.isInterrupted(); };
    link.writeByte(RequestByte);
    link.writeByte(DownloadRequest);
    if (link.readByte() != DownloadReady)
        return interrupted() ? Ending::Interrupted : Ending::NoReady;
    progress.setValue(10);
    link.readByte();  // the module's second byte carries nothing we use

    int sent = 10;
    for (const QByteArray &piece : linePieces(settings.RecordText, settings.DownloadSeparator)) {
        for (char byte : piece) {
            link.writeByte(static_cast<unsigned char>(byte));
            if (interrupted())
                return Ending::Interrupted;
            progress.setValue(++sent);
        }
        link.writeByte(PieceEnd);
        progress.setValue(++sent);
    }

    const auto ack = static_cast<unsigned char>(settings.AckChar);
    const bool first = link.readByte() == ack;
    const bool second = link.readByte() == ack;
    if (first || second)
        return Ending::Done;
    return interrupted() ? Ending::Interrupted : Ending::NoAcknowledge;
}

} // namespace

ExchangeReport downloadToModule(SerialLink &link, const LinkSettings &settings, DownloadProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    progress.setRange(int(settings.RecordText.size()) + 10);
    progress.reset();

    ExchangeReport report;
    switch (link.open(settings.Port, DownloadReadTimeoutMs)) {
    case SerialLink::OpenStatus::Opened:
        report.ending = exchangeDownload(link, settings, progress);
        break;
    case SerialLink::OpenStatus::OpenFailed:
        report.port = link.openProblem();
        break;
    default:
        report.ending = Ending::LineSetupFailed;
        break;
    }
    report.bytesSent = link.bytesWritten();
    report.bytesReceived = link.bytesRead();
    link.close();
    report.seconds = clock.nsecsElapsed() / 1e9;
    return report;
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
