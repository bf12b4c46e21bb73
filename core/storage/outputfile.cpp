#include "outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The target's own file when it is a link, as an editor would write it.
QByteArray resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
}

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

} // namespace

OutputFile::OutputFile(const QString &path, mode_t mode, Placement placement)
    : m_path(path)
    , m_placement(placement)
    , m_target(placement == Placement::Keep ? QFile::encodeName(path) : resolvedTarget(path))
{
    if (placement == Placement::Keep) {
        m_fd = createFresh(m_target, mode, &m_temporary);
        if (m_fd < 0 || ::fchmod(m_fd, mode) != 0)
            fail(FileError::system(errno));
        return;
    }
    struct stat existing {};
    const bool exists = ::stat(m_target.constData(), &existing) == 0;
    // A device, a pipe or a folder is never replaced by a file of ours.
    if (exists && !S_ISREG(existing.st_mode)) {
        m_error = {FileError::Kind::NotRegularFile, 0};
        return;
    }
    m_fd = createFresh(m_target, exists ? existing.st_mode & 07777 : mode, &m_temporary);
    if (m_fd < 0) {
        m_error = FileError::system(errno);
        return;
    }
    if (exists)
        ::fchmod(m_fd, existing.st_mode & 07777);
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

FileError writeWholeFile(const QString &path, const QByteArray &bytes, mode_t mode)
{
    OutputFile file(path, mode);
    if (file.write(bytes))
        file.commit();
    return file.error();
}
