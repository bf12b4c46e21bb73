#include "ownfolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool openToOthers(const struct stat &info)
{
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0;
}

// The folder at `path`, or where a link there leads (`follow`); its owner
// must be the user running the program, or may be root as well (`rootToo`).
FileError judge(const QByteArray &path, bool follow, bool rootToo)
{
    struct stat info {};
    if ((follow ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info)) != 0)
        return FileError::system(errno);
    if (S_ISLNK(info.st_mode))
        return {FileError::Kind::Link, 0};
    if (!S_ISDIR(info.st_mode))
        return FileError::system(ENOTDIR);
    if (info.st_uid != ::geteuid() && !(rootToo && info.st_uid == 0))
        return {FileError::Kind::FolderOwner, int(info.st_uid)};
    if (openToOthers(info))
        return {FileError::Kind::OpenFolder, 0};
    return {};
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Every missing folder of `whole`, each 0700 less the umask (which only
// ever takes bits away).
bool makeMissing(const QByteArray &whole)
{
    qsizetype slash = 0;
    do {
        slash = whole.indexOf('/', slash + 1);
        const QByteArray part = slash < 0 ? whole : whole.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    } while (slash >= 0);
    return true;
}

} // namespace

FileError judgeOwnFolder(const QString &path)
{
    return judge(QFile::encodeName(QDir::cleanPath(QDir(path).absolutePath())), false, false);
}

FileError makeOwnFolder(const QString &path)
{
    const QByteArray whole = QFile::encodeName(QDir::cleanPath(QDir(path).absolutePath()));
    if (!makeMissing(whole))
        return FileError::system(errno);
    // The folder it is in may be reached through a link (/home on another
    // disk); it is the folder there that must not be another user's.
    if (const FileError parent = whole == "/" ? FileError{} : judge(parentOf(whole), true, true))
        return parent;
    return judge(whole, false, false);
}

FileError makePrivateFolder(const QString &path)
{
    if (const FileError made = makeOwnFolder(path); made.kind != FileError::Kind::OpenFolder && made)
        return made;
    // Ours: opened without following a link, and its mode mended through it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return FileError::system(errno);
    struct stat info {};
    const bool mended = ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid()
                        && ((info.st_mode & 077) == 0 || ::fchmod(fd, 0700) == 0);
    const int code = errno;
    ::close(fd);
    return mended ? FileError{} : FileError::system(code);
}
