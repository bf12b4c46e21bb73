#include "moduleexchange.h"

#include "contentrecord.h"
#include "lineinterrupt.h"
#include "seriallink.h"

#include <QElapsedTimer>

bool downloadToModule(const LinkSettings &settings, DownloadProgress &progress,
                      const LineInterrupt *interrupt)
{
    const QString &record = settings.RecordText;
    progress.setRange(int(record.size()) + 10);
    progress.reset();

    SerialLink link(interrupt);
    if (link.open(settings.Port, DownloadReadTimeoutMs) != SerialLink::OpenStatus::Opened)
        return false;

    link.writeByte(RequestByte);
    link.writeByte(DownloadCommand);
    if (link.readByte() != DownloadReady)
        return false;
    progress.setValue(10);
    link.readByte();  // the module's second byte carries nothing we use

    int sent = 10;
    const QChar separator = settingChar(settings.DownloadSeparator);
    for (const QString &piece : record.split(separator)) {
        for (QChar c : piece) {
            link.writeByte(recordByte(c));
            if (interrupt && interrupt->isTriggered())
                return false;
            progress.setValue(++sent);
        }
        link.writeByte(PieceEnd);
        progress.setValue(++sent);
    }

    const auto ack = static_cast<unsigned char>(settings.AckChar);
    const bool first = link.readByte() == ack;
    const bool second = link.readByte() == ack;
    return first || second;
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
