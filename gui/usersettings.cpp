#include "usersettings.h"

#include "core/storage/outputfile.h"
#include "core/storage/ownfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file's bytes when it is ours: a regular file of the user's, opened
// without following a link. Nothing when it is not there; false when it is
// someone else's, a link or unreadable.
bool readOwn(const QString &path, QByteArray *bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    QFile file;
    struct stat info {};
    const bool own = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
                     && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!own) {
        ::close(fd);
        return false;
    }
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

QString UserSettings::path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/tavir340/tavir340.ini");
}

UserSettings::UserSettings()
{
    const QString file = path();
    m_own = !makePrivateFolder(QFileInfo(file).absolutePath()) && readOwn(file, &m_read);
    static bool said = false;
    if (!m_own && !std::exchange(said, true))
        qWarning("tavir340: %s is not the user's own; the settings are neither read from it nor written to it", qPrintable(file));
    const QString copy = m_copy.filePath(QStringLiteral("tavir340.ini"));
    if (!m_read.isEmpty())
        writeWholeFile(copy, m_read, OutputFile::Readers::OwnerOnly);
    m_settings = std::make_unique<QSettings>(copy, QSettings::IniFormat);
}

UserSettings::~UserSettings()
{
    m_settings->sync();
    m_settings.reset();
    if (!m_own)
        return;
    QFile copy(m_copy.filePath(QStringLiteral("tavir340.ini")));
    if (!copy.open(QIODevice::ReadOnly))
        return;
    const QByteArray now = copy.readAll();
    if (now != m_read)
        writeWholeFile(path(), now, OutputFile::Readers::OwnerOnly);
}
