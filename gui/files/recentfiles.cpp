#include "recentfiles.h"

#include <QFileInfo>
#include "gui/usersettings.h"

namespace {

const QString Key = QStringLiteral("files/recent");


} // namespace

namespace RecentFiles {

QStringList list()
{
    return UserSettings()->value(Key).toStringList();
}

void add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = list();
    files.removeAll(absolute);
    files.prepend(absolute);
    UserSettings()->setValue(Key, files.mid(0, Kept));
}

} // namespace RecentFiles
