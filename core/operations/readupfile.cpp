#include "readupfile.h"

#include "core/storage/filenames.h"

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

QString backupPath(const QString &folder, const QString &name, qint64 entry)
{
    const QString stamp = entry > 0 ? QString::number(entry)
                                    : QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'"));
    return QDir(folder).filePath(QStringLiteral("%1-%2.t16").arg(fileNamePart(name), stamp));
}

std::unique_ptr<OutputFile> makeBackupFile(const QString &folder, const QString &name)
{
    return std::make_unique<OutputFile>(QDir(folder).filePath(fileNamePart(name) + QStringLiteral("-new.t16")),
                                        OutputFile::Readers::OwnerOnly, OutputFile::Placement::Keep);
}
