#include "datafiles.h"

#include <QCoreApplication>
#include <QFileInfo>

QString dataFilePath(const QString &name)
{
    if (QFileInfo::exists(name))
        return name;
    const QStringList folders = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tavir340"),
        QStringLiteral(TAVIR340_DATADIR),
    };
    for (const QString &folder : folders) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    }
    return name;
}
