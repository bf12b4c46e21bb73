#include "moduleexchange.h"

#include "core/plan/transferplan.h"
#include "seriallink.h"

#include <QElapsedTimer>

namespace {

Ending exchangeDownload(SerialLink &link, const LinkSettings &settings, const TransferPlan &plan, DownloadProgress &progress,
                        QByteArray *unexpected)
{
    auto interrupted = [&link] { return link.isInterrupted(); };
    link.discardInput();
    link.writeByte(RequestByte);
    link.writeByte(DownloadRequest);
    if (const std::optional<unsigned char> ready = link.readByte(); ready != DownloadReady) {
        if (ready)
            *unexpected = QByteArray(1, char(*ready));
        return interrupted() ? Ending::Interrupted : Ending::NoReady;
    }
    progress.setValue(10);
    link.readByte();  // the module's second byte carries nothing we use

    int sent = 10;
    for (const QByteArray &piece : plan.pieces()) {
        for (char byte : piece) {
            link.writeByte(static_cast<unsigned char>(byte));
            if (interrupted())
                return Ending::Interrupted;
            progress.setValue(++sent);
        }
    }

    const auto ack = static_cast<unsigned char>(settings.AckChar);
    const std::optional<unsigned char> first = link.readByte();
    const std::optional<unsigned char> second = link.readByte();
    if (first == ack || second == ack)
        return Ending::Done;
    for (const std::optional<unsigned char> &byte : {first, second})
        if (byte)
            *unexpected += char(*byte);
    return interrupted() ? Ending::Interrupted : Ending::NoAcknowledge;
}

} // namespace

ExchangeReport downloadToModule(SerialLink &link, const LinkSettings &settings, const TransferPlan &plan,
                                DownloadProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    progress.setRange(int(plan.record().size()) + 10);
    progress.reset();

    ExchangeReport report;
    switch (link.open(settings.Port, DownloadReadTimeoutMs)) {
    case SerialLink::OpenStatus::Opened:
        report.ending = exchangeDownload(link, settings, plan, progress, &report.unexpected);
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
    report.lineClosed = link.hasHungUp();
    link.close();
    report.seconds = clock.nsecsElapsed() / 1e9;
    return report;
}

UploadAnswer receiveUploadAnswer(SerialLink &link, char uploadCommand,
                                 const std::function<bool()> &afterEachRead)
{
    UploadAnswer answer;
    link.discardInput();
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
