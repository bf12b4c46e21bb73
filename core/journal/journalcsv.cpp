#include "journalcsv.h"

#include <QDateTime>
#include <QStringList>

namespace {

// A cell as RFC 4180 quotes it. One that a spreadsheet would read as a
// formula (a module name such as "@SUM(1+1)*cmd") gets a leading apostrophe
// and quotes, as the usual CSV-injection guidance says: shown, never run.
QString csvField(const QString &value)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    const bool formula = !value.isEmpty() && formulaStarts.contains(value.front());
    if (!formula && !value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\n'))
        && !value.contains(QLatin1Char('\r')))
        return value;
    const QString text = formula ? QLatin1Char('\'') + value : value;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

QByteArray csvLine(const QStringList &cells)
{
    QStringList quoted;
    for (const QString &cell : cells)
        quoted << csvField(cell);
    return (quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
}

QString isoTime(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

std::optional<double> entrySeconds(const JournalEntry &entry)
{
    // Stored times that make no sense (an end before the start, more than a
    // day) give no duration rather than a nonsense one.
    constexpr qint64 Day = 24 * 3600 * 1000;
    if (!entry.endedMs || *entry.endedMs < entry.startedMs || *entry.endedMs - entry.startedMs > Day)
        return std::nullopt;
    return (*entry.endedMs - entry.startedMs) / 1000.0;
}

QByteArray journalCsvHeader()
{
    return QByteArrayLiteral("entry,started,ended,station,user,program,version,operation,unit,port,device,by_id,usb_serial,"
                             "module_id,module_name,result,exit_code,reason,seconds,bytes_sent,bytes_received,file,backup,"
                             "record_sha256\r\n");
}

QByteArray journalCsvLine(const JournalEntry &e)
{
    const std::optional<double> seconds = entrySeconds(e);
    return csvLine({QString::number(e.id), isoTime(e.startedMs), e.endedMs ? isoTime(*e.endedMs) : QString(), e.station, e.user,
                    e.program, e.version, e.operation, e.unit, e.port, e.device, e.byId, e.usbSerial, e.moduleId, e.moduleName,
                    e.isFinished() ? e.result : QStringLiteral("unfinished"), e.exitCode ? QString::number(*e.exitCode) : QString(),
                    e.reason, seconds ? QString::number(*seconds, 'f', 3) : QString(), QString::number(e.bytesSent),
                    QString::number(e.bytesReceived), e.file, e.backup, e.recordSha256});
}

QByteArray journalCsv(const QList<JournalEntry> &entries)
{
    QByteArray csv = journalCsvHeader();
    for (const JournalEntry &e : entries)
        csv += journalCsvLine(e);
    return csv;
}
