#include "outputfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A name nobody uses, created by us alone: O_EXCL never follows a link.
int createFresh(const QByteArray &target, mode_t mode, QByteArray *name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = target + '.';
        for (int i = 0; i < 6; ++i)
            candidate += letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)];
        const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            *name = candidate;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Whether users other than the folder's owner may make and remove names in it.
bool sharedFolder(const QByteArray &folder)
{
    struct stat info {};
    return ::stat(folder.constData(), &info) == 0 && (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

// What may be at the name before it is replaced, looked at without
// following a link: the permission bits the new file keeps, or an error.
FileError checkTarget(const QByteArray &target, std::optional<mode_t> *mode)
{
    struct stat existing {};
    if (::lstat(target.constData(), &existing) != 0)
        return errno == ENOENT ? FileError{} : FileError::system(errno);
    if (S_ISLNK(existing.st_mode))
        return {FileError::Kind::Link, 0};
    if (!S_ISREG(existing.st_mode))
        return {FileError::Kind::NotRegularFile, 0};
    if (existing.st_uid != ::geteuid() && sharedFolder(folderOf(target)))
        return {FileError::Kind::OtherOwner, int(existing.st_uid)};
    *mode = existing.st_mode & 0777;  // without set-id and sticky bits
    return {};
}

} // namespace

OutputFile::OutputFile(const QString &path, Readers readers, Placement placement)
    : m_path(path)
    , m_placement(placement)
    , m_target(QFile::encodeName(path))
{
    // 0666 is left to the umask; the owner's own bits are set exactly.
    std::optional<mode_t> exact;
    if (readers == Readers::OwnerOnly)
        exact = 0600;
    if (placement == Placement::Replace) {
        std::optional<mode_t> kept;
        if (const FileError refused = checkTarget(m_target, &kept)) {
            m_error = refused;
            return;
        }
        // A file that holds a PIN is its owner's alone, even where it
        // replaces one that others could read.
        if (kept)
            exact = readers == Readers::OwnerOnly ? (*kept & 0700) | 0600 : *kept;
    }
    m_fd = createFresh(m_target, exact.value_or(0666), &m_temporary);
    if (m_fd < 0 || (exact && ::fchmod(m_fd, *exact) != 0))
        fail(FileError::system(errno));
}

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::write(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (!m_error && left > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(FileError::system(n < 0 ? errno : ENOSPC));
            break;
        }
        data += n;
        left -= n;
    }
    return !m_error;
}

bool OutputFile::commit()
{
    if (m_error)
        return false;
    if (::fsync(m_fd) != 0) {
        fail(FileError::system(errno));
        return false;
    }
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) {
        fail(FileError::system(errno));
        return false;
    }
    if (!place()) {
        fail(FileError::system(errno));
        return false;
    }
    m_temporary.clear();
    // The new name itself is on the disk once its folder is.
    const int folder = ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void OutputFile::setTarget(const QString &path)
{
    if (m_placement == Placement::Keep && folderOf(QFile::encodeName(path)) == folderOf(m_target)) {
        m_path = path;
        m_target = QFile::encodeName(path);
    }
}

// The fresh file under the target's name: Replace renames over whatever is
// there; Keep never replaces a name that exists, nor follows it.
bool OutputFile::place()
{
    if (m_placement == Placement::Replace)
        return ::rename(m_temporary.constData(), m_target.constData()) == 0;
    if (::renameat2(AT_FDCWD, m_temporary.constData(), AT_FDCWD, m_target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without RENAME_NOREPLACE: link() fails on any name that
    // exists, a link included.
    if (::link(m_temporary.constData(), m_target.constData()) != 0)
        return false;
    ::unlink(m_temporary.constData());
    return true;
}

void OutputFile::fail(FileError error)
{
    if (!m_error)
        m_error = error;
    discard();
}

void OutputFile::discard()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

FileError writeWholeFile(const QString &path, const QByteArray &bytes, OutputFile::Readers readers)
{
    OutputFile file(path, readers);
    if (file.write(bytes))
        file.commit();
    return file.error();
}

QString userName(uid_t uid)
{
    passwd entry {};
    passwd *found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}
