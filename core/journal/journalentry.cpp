#include "journalentry.h"

#include "core/process/processidentity.h"

#include "journalreason.h"

#include "core/content/contentfile.h"
#include "core/record/contentrecord.h"
#include "core/port/portname.h"
#include "core/port/portscan.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonObject>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString userName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::geteuid());
}

} // namespace

JournalEntry startEntry(const QString &operation, const QString &port)
{
    JournalEntry entry;
    entry.startedMs = QDateTime::currentMSecsSinceEpoch();
    entry.station = stationName();
    entry.user = userName();
    entry.program = QCoreApplication::applicationName();
    entry.version = QStringLiteral(TAVIR340_VERSION);
    entry.pid = QCoreApplication::applicationPid();
    entry.operation = operation;
    entry.port = port;
    entry.device = SerialDevice::realDevice(SerialDevice::devicePath(port));
    const PortEntry adapter = describeAdapter(entry.device);
    entry.byId = adapter.byId;
    entry.usbSerial = adapter.serial;
    return entry;
}

void setContent(JournalEntry &entry, const FormValues &values)
{
    entry.content = ContentFile::serialize(values);
    entry.moduleId = values.texts.value(lineEditIndex(QStringLiteral("m_id")));
    entry.moduleName = values.texts.value(lineEditIndex(QStringLiteral("m_nev")));
}

QString resultName(Ending ending)
{
    switch (ending) {
    case Ending::Done: return JournalName::Ok;
    case Ending::Refused: return JournalName::Refused;
    case Ending::Cancelled:
    case Ending::Interrupted: return JournalName::Interrupted;
    default: return JournalName::Failed;
    }
}

int exitCodeOf(Ending ending)
{
    switch (ending) {
    case Ending::Done: return 0;
    case Ending::Refused: return 2;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed: return 3;
    case Ending::Cancelled:
    case Ending::Interrupted: return 4;
    default: return 1;
    }
}

void setEnding(JournalEntry &entry, const ExchangeReport &report, AnswerError answerError, int fieldCount)
{
    entry.endedMs = QDateTime::currentMSecsSinceEpoch();
    entry.exitCode = exitCodeOf(report.ending);
    entry.result = resultName(report.ending);
    entry.reason = JournalReason::of(report, answerError, fieldCount);
    entry.bytesSent = report.bytesSent;
    entry.bytesReceived = report.bytesReceived;
}

QString sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QJsonArray differencesJson(const QList<FieldDifference> &differences)
{
    QJsonArray array;
    for (const FieldDifference &d : differences)
        array.append(QJsonObject{{QStringLiteral("field"), d.name},
                                 {QStringLiteral("expected"), d.first},
                                 {QStringLiteral("found"), d.second}});
    return array;
}
