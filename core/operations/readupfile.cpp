#include "readupfile.h"

#include "core/port/portname.h"

#include <QDir>

FileReadup readUpToFile(OutputFile &file, SerialLink &link, const LinkSettings &settings, UploadWatcher &watcher)
{
    FileReadup result;
    result.fileError = file.error();
    if (result.fileError) {
        result.read.ending = Ending::Refused;
        return result;
    }
    result.read = readUp(link, settings, initialFormValues(), watcher);
    if (result.read.ending != Ending::Done)
        return result;
    result.unsavable = ContentFile::findUnsavable(result.read.values);
    if (result.unsavable)
        return result;
    if (file.write(ContentFile::serialize(result.read.values)))
        file.commit();
    result.fileError = file.error();
    return result;
}

QString backupPath(const QString &folder, const QString &port, const QDateTime &time)
{
    const QString name = SerialDevice::flatName(port).replace(QLatin1Char(' '), QLatin1Char('_'));
    return QDir(folder).filePath(QStringLiteral("%1-%2.t16").arg(
        name, time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"))));
}
