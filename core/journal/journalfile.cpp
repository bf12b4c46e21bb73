#include "journalfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Error = JournalProblem::Error;

JournalFile failed(Error error, const QString &detail)
{
    JournalFile file;
    file.problem = {error, detail, 0};
    return file;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString ownerName(uid_t uid)
{
    const passwd *entry = ::getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

// A file of ours: made 0600 now, or the one that is there, to be written
// when `create`.
int openOrMake(const QByteArray &path, bool create)
{
    if (create) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::fchmod(fd, 0600);  // whatever the umask
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return ::open(path.constData(), (create ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}

Error openError(int code, bool create)
{
    switch (code) {
    case ENOENT: return create ? Error::CannotCreate : Error::Missing;
    case ENOSPC: return Error::DiskFull;
    case EROFS:
    case EACCES: return create ? Error::ReadOnly : Error::CannotOpen;
    default: return create ? Error::CannotCreate : Error::CannotOpen;
    }
}

} // namespace

JournalFile prepareJournalFile(const QString &given, bool create)
{
    if (QDir::isRelativePath(given))
        return failed(Error::Relative, QDir::current().absoluteFilePath(given));
    // A link is followed to the file it names, which is then made as ours.
    const QFileInfo info(given);
    const QString path = info.isSymLink() ? info.symLinkTarget() : given;
    const QByteArray encoded = QFile::encodeName(path);
    const int fd = openOrMake(encoded, create);
    if (fd < 0)
        return failed(openError(errno, create), systemError(errno));
    struct stat status {};
    const bool statted = ::fstat(fd, &status) == 0;
    char header[16] = {};
    const ssize_t got = statted && S_ISREG(status.st_mode) ? ::pread(fd, header, sizeof header, 0) : -1;
    ::close(fd);
    if (!statted || !S_ISREG(status.st_mode))
        return failed(Error::NotAJournal, {});
    // An empty file becomes a journal; anything else must be SQLite's.
    if (got != 0 && (got != 16 || std::memcmp(header, "SQLite format 3", 16) != 0))
        return failed(Error::NotAJournal, {});
    JournalFile file;
    file.path = path;
    if ((status.st_mode & 077) != 0) {
        if (status.st_uid != ::geteuid())
            return failed(Error::OtherOwner, ownerName(status.st_uid));
        if (::chmod(encoded.constData(), 0600) != 0)
            return failed(Error::CannotOpen, systemError(errno));
        file.mendedFromMode = int(status.st_mode & 07777);
    }
    return file;
}

JournalProblem::Error sqliteErrorKind(const QString &nativeCode, JournalProblem::Error otherwise)
{
    switch (nativeCode.toInt() & 0xff) {
    case 13: return Error::DiskFull;  // SQLITE_FULL
    case 11:                          // SQLITE_CORRUPT
    case 26: return Error::Damaged;   // SQLITE_NOTADB
    case 8: return Error::ReadOnly;   // SQLITE_READONLY
    default: return otherwise;
    }
}
