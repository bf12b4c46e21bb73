#include "journalfile.h"

#include "journalprobe.h"
#include "core/storage/outputfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
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

// A file of ours: made 0600 now when `create` and there is none, or the
// one that is there; open for reading only (SQLite writes it), so that
// keeping it open stops no one from mounting its file system read-only.
int openOrMake(const QByteArray &path, bool create)
{
    if (create) {
        // A file just made has no SQLite connection yet: closing it loses no lock.
        const int made = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made >= 0) {
            ::fchmod(made, 0600);  // whatever the umask
            ::close(made);
        } else if (errno != EEXIST || ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0) {
            return -1;  // (a journal to be written that cannot be: said before it is opened)
        }
    }
    return ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
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

// A descriptor of the file at `path` that stays open while the process
// lives. POSIX locks belong to the process and all go with the first close()
// of any descriptor of their file: closing one here would drop the locks of
// the SQLite connections this process has on the journal, and another
// process could then checkpoint it and delete its -wal under them, losing
// what was committed since. So a journal file is opened here once, and the
// descriptor kept; a file that was replaced at that path gets one more.
int keptDescriptor(const QByteArray &path, bool create)
{
    static std::mutex mutex;
    static QHash<QByteArray, int> kept;
    const std::lock_guard lock(mutex);
    struct stat atPath {};
    struct stat held {};
    const auto found = kept.constFind(path);
    if (found != kept.cend() && ::stat(path.constData(), &atPath) == 0 && ::fstat(*found, &held) == 0
        && atPath.st_dev == held.st_dev && atPath.st_ino == held.st_ino)
        return *found;
    const int fd = openOrMake(path, create);
    if (fd >= 0)
        kept.insert(path, fd);
    return fd;
}

const char *const SideSuffixes[] = {"-wal", "-shm", "-journal"};

// SQLite's files beside the journal: each, where there is one, a regular
// file of the journal's owner, so that no one else reads what is written
// into it. Looked at before anything is opened or made.
JournalFile refusedSideFile(const QByteArray &path, uid_t owner)
{
    for (const char *suffix : SideSuffixes) {
        const QByteArray side = path + suffix;
        struct stat status {};
        if (::lstat(side.constData(), &status) == 0 && (!S_ISREG(status.st_mode) || status.st_uid != owner
                                                         || ((status.st_mode & 077) != 0 && owner != ::geteuid())))
            return failed(Error::SideFile, QFile::decodeName(side));
    }
    return {};
}

// Our journal's side files made its owner's alone, as the journal is.
JournalFile mendSideFiles(const QByteArray &path)
{
    for (const char *suffix : SideSuffixes) {
        const QByteArray side = path + suffix;
        struct stat status {};
        if (::lstat(side.constData(), &status) != 0 || (status.st_mode & 077) == 0)
            continue;
        const int fd = keptDescriptor(side, false);  // never closed: SQLite's locks on it stay
        if (fd < 0 || ::fchmod(fd, 0600) != 0)
            return failed(Error::SideFile, QFile::decodeName(side));
    }
    return {};
}

// The folder that holds the journal is its user's, and no one else may put
// or swap a file in it (unless its sticky bit keeps them from ours).
JournalFile refusedFolder(const QString &given)
{
    const QString folder = QFileInfo(given).absolutePath();
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return {};  // said as the file's own error, when it is opened
    if (info.st_uid != ::geteuid())
        return failed(Error::FolderOwner, userName(info.st_uid));
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)
        return failed(Error::OpenFolder, folder);
    return {};
}

// What the file and its -wal hold, read before anything is changed: a
// database whose schema is still in its -wal is judged by it.
JournalKind probeWithWal(const QByteArray &path, int fd)
{
    const int wal = ::open((path + "-wal").constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    // SQLite takes no lock on a -wal (its locks are on the -shm): closing
    // this descriptor drops none of ours.
    const JournalKind kind = probeJournalFile(fd, wal);
    if (wal >= 0)
        ::close(wal);
    return kind;
}

} // namespace

JournalFile prepareJournalFile(const QString &given, bool create)
{
    if (QDir::isRelativePath(given))
        return failed(Error::Relative, QDir::current().absoluteFilePath(given));
    const QByteArray path = QFile::encodeName(given);
    struct stat named {};
    const bool exists = ::lstat(path.constData(), &named) == 0;
    if (exists && S_ISLNK(named.st_mode))
        return failed(Error::Link, {});
    // Another user's journal, or one in her folder, is not ours to write
    // into nor to read: nothing of it is touched.
    if (exists && named.st_uid != ::geteuid())
        return failed(Error::OtherOwner, userName(named.st_uid));
    if (JournalFile folder = refusedFolder(given); folder.problem.error != Error::None)
        return folder;
    if (JournalFile side = refusedSideFile(path, ::geteuid()); side.problem.error != Error::None)
        return side;
    const int fd = keptDescriptor(path, create);  // O_NOFOLLOW: a link put there since is not opened
    if (fd < 0)
        return failed(errno == ELOOP ? Error::Link : openError(errno, create), systemError(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return failed(Error::NotAJournal, {});
    // Judged from its bytes before SQLite opens it: another program's
    // database is left exactly as it was, its mode and side files too.
    if (status.st_uid != ::geteuid())
        return failed(Error::OtherOwner, userName(status.st_uid));  // swapped in since it was looked at
    if (probeWithWal(path, fd) == JournalKind::Foreign)
        return failed(Error::NotAJournal, {});
    JournalFile file;
    file.path = given;
    if ((status.st_mode & 077) != 0) {
        if (::fchmod(fd, 0600) != 0)
            return failed(Error::CannotOpen, systemError(errno));
        file.mendedFromMode = int(status.st_mode & 07777);
    }
    if (JournalFile sides = mendSideFiles(path); sides.problem.error != Error::None)
        return sides;
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
