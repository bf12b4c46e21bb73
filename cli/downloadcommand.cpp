#include "commands.h"

#include "content/contentfile.h"
#include "moduleoperations.h"
#include "portrun.h"
#include "settings/serialdevice.h"
#include "transfer/contentrecord.h"

#include <QDateTime>
#include <QDir>

QString DownloadCommand::summary() const
{
    return QStringLiteral("Write a content file into the module on each --port, several at once.");
}

void DownloadCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The content file (.t16) to write."));
    parser.addOptions({
        {{QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("A port: COM1, ttyUSB0 or a device path. Repeat for more modules."),
         QStringLiteral("port")},
        {QStringLiteral("backup"), QStringLiteral("First read each module up and keep what it held in <dir>/<port>-<UTC time>.t16."),
         QStringLiteral("dir")},
        {QStringLiteral("force"), QStringLiteral("Write a module even when its backup could not be read.")},
    });
    addLinkOptions(parser);
    addOutputOptions(parser);
}

namespace {

// "ttyUSB0", "serial_by-id_usb-FTDI…", "COM1": a port as part of a file name.
QString portFileName(const QString &port)
{
    return SerialDevice::flatName(port).replace(QLatin1Char(' '), QLatin1Char('_'));
}

// Reads the module up into a backup file; the read-up's result when it fails.
Result backUp(const LinkSettings &settings, const QString &folder, const PortContext &context)
{
    FormValues held;
    Result result = readModule(settings, context, &held);
    result.operation = QStringLiteral("backup");
    if (result.code != Success)
        return result;
    const QString path = QDir(folder).filePath(QStringLiteral("%1-%2.t16").arg(
        portFileName(settings.Port), QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"))));
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(held)) {
        result.code = ModuleFailed;
        result.message = QStringLiteral("the module's content cannot be kept: ") + ContentFile::describe(*problem);
    } else if (ContentFile::save(path, held) != ContentFile::SaveStatus::Saved) {
        result.code = Refused;
        result.message = QStringLiteral("cannot write ") + path;
    } else {
        result.backup = path;
    }
    return result;
}

} // namespace

int DownloadCommand::execute(QCommandLineParser &parser)
{
    const QStringList files = parser.positionalArguments();
    const QStringList ports = parser.values(QStringLiteral("port"));
    if (files.size() != 1 || ports.isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli download FILE --port P [--port P2 ...]"));
    const QString backupFolder = parser.value(QStringLiteral("backup"));
    if (!backupFolder.isEmpty() && !QDir().mkpath(backupFolder))
        return fail(Refused, QStringLiteral("cannot make the backup folder ") + backupFolder);
    std::optional<LinkSettings> settings = linkSettings(parser);
    const std::optional<FormValues> form = loadForm(files.first());
    if (!settings || !form)
        return Refused;
    // The same record, and the same refusals, as the window's download.
    const RecordResult record = buildContentRecord(*form, *settings, RecordPurpose::Download);
    if (record.error != RecordError::None)
        return fail(Refused, QStringLiteral("%1: Betöltés hiba. %2").arg(files.first(), downloadRefusal(record, settings->DownloadSeparator)));

    const bool force = parser.isSet(QStringLiteral("force"));
    const QList<Result> results = runOnPorts(ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt,
                                                                  ProgressBars &bars) {
        LinkSettings own = *settings;
        own.Port = port;
        const PortContext context{row, &interrupt, &bars};
        Result backup;
        if (!backupFolder.isEmpty()) {
            backup = backUp(own, backupFolder, context);
            if (backup.code != Success && (!force || backup.code == Interrupted)) {
                backup.message = QStringLiteral("backup failed, module not written: ") + backup.message;
                return backup;
            }
        }
        Result result = downloadRecord(own, context);
        result.backup = backup.backup;
        result.seconds += backup.seconds;
        result.bytesSent += backup.bytesSent;
        result.bytesReceived += backup.bytesReceived;
        if (backup.code != Success)
            result.message = (result.message.isEmpty() ? QString() : result.message + QStringLiteral("; "))
                           + QStringLiteral("backup failed (") + backup.message + QStringLiteral("), written anyway");
        return result;
    });
    for (const Result &result : results)
        report(result);
    return worstCode(results);
}
