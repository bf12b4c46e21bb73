#include "journalreason.h"

namespace JournalReason {

const QStringList &all()
{
    static const QStringList ids = {Refused, PortMissing, PortBusy, PortNoPermission, LineSetupFailed, NoReady, NoAcknowledge,
                                    LineClosed, NoAnswer, FieldCount, BadGroup, NotAConfiguration, Mismatch, Cancelled,
                                    Interrupted, Unsavable, FileNotWritten, BackupFailed, NotRecorded, NotProven, NotSwapped,
                                    ClaimLost};
    return ids;
}

namespace {

QString portReason(const SerialDevice::PortState &port)
{
    switch (port.access) {
    case SerialDevice::Access::Busy: return PortBusy;
    case SerialDevice::Access::NoPermission: return PortNoPermission;
    default: return PortMissing;
    }
}

} // namespace

QString ofAnswer(AnswerError error, int fieldCount)
{
    switch (error) {
    case AnswerError::NoSeparator: return NoAnswer;
    case AnswerError::WrongFieldCount: return withValue(FieldCount, QString::number(fieldCount));
    case AnswerError::BadGroup: return BadGroup;
    case AnswerError::None: break;
    }
    return {};
}

QString of(const ExchangeReport &report, AnswerError answerError, int fieldCount)
{
    switch (report.ending) {
    case Ending::Done: return {};
    case Ending::Refused: return Refused;
    case Ending::PortUnavailable: return portReason(report.port);
    case Ending::LineSetupFailed: return LineSetupFailed;
    case Ending::Cancelled: return Cancelled;
    case Ending::Interrupted: return Interrupted;
    default: break;
    }
    if (report.lineClosed)
        return LineClosed;
    if (const QString answer = ofAnswer(answerError, fieldCount); !answer.isEmpty())
        return answer;
    switch (report.ending) {
    case Ending::NoReady: return NoReady;
    case Ending::NoAcknowledge: return NoAcknowledge;
    case Ending::Mismatch: return Mismatch;
    default: return NotAConfiguration;
    }
}

Parts split(const QString &reason)
{
    const qsizetype colon = reason.indexOf(QLatin1Char(':'));
    return colon < 0 ? Parts{reason, {}} : Parts{reason.left(colon), reason.mid(colon + 1)};
}

QString withValue(const QString &id, const QString &value)
{
    return id + QLatin1Char(':') + value;
}

} // namespace JournalReason
