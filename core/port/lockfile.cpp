#include "lockfile.h"

#include "core/process/processidentity.h"

#include <QDir>

#include "portname.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SerialDevice {

namespace {

std::mutex folderMutex;
QStringList &lockFolders()
{
    static QStringList folders = defaultLockDirectories();
    return folders;
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// The name the system gives this program's file, as QLockFile compares it
// with the lock's second line.
QByteArray programName()
{
    char target[4096];
    const ssize_t n = ::readlink("/proc/self/exe", target, sizeof target);
    QByteArray path = n > 0 ? QByteArray(target, n) : QByteArrayLiteral("tavir340");
    if (path.endsWith(" (deleted)"))
        path.chop(10);
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray lockContent()
{
    return QByteArray::number(qint64(::getpid())).rightJustified(10, ' ') + '\n' + programName() + '\n'
         + stationName().toUtf8() + '\n';
}

// Errors that say the folder will not take a file of ours at all: not ours
// to write, read-only, or one like /proc that holds no files but its own.
bool refusesWriting(int error)
{
    return error == EACCES || error == EPERM || error == EROFS || error == ENOENT;
}

enum class Write { Done, Refused, Failed };

// The lock written in full under a fresh name of its own, then linked into
// place: link() never follows a link and never replaces a file, and nobody
// reads a half-written lock. The file stays open and flock()ed while it is
// ours: QLockFile takes any lock older than half a minute for stale, but
// never removes one that is flock()ed.
Write writeLock(const QString &path, int *held)
{
    QByteArray temporary = encoded(QFileInfo(path).path() + QStringLiteral("/LTMP.XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return refusesWriting(errno) ? Write::Refused : Write::Failed;
    const QByteArray content = lockContent();
    const bool written = ::fchmod(fd, 0644) == 0 && ::write(fd, content.constData(), size_t(content.size())) == content.size()
                      && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const int linked = written ? ::link(temporary.constData(), encoded(path).constData()) : -1;
    const int linkError = errno;
    ::unlink(temporary.constData());
    if (linked == 0) {
        *held = fd;
        return Write::Done;
    }
    ::close(fd);
    return written && refusesWriting(linkError) ? Write::Refused : Write::Failed;
}

} // namespace

QStringList defaultLockDirectories()
{
    const QString chosen = qEnvironmentVariable("TAVIR340_LOCK_DIR");
    if (!chosen.isEmpty() && QDir::isAbsolutePath(chosen))
        return {chosen};
    return {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")};
}

void setLockDirectories(const QStringList &folders)
{
    const std::lock_guard lock(folderMutex);
    lockFolders() = folders;
}

QStringList lockDirectories()
{
    const std::lock_guard lock(folderMutex);
    return lockFolders();
}

QString lockFilePath(const QString &device)
{
    for (const QString &folder : lockDirectories()) {
        if (QFileInfo(folder).isDir())
            return folder + QStringLiteral("/LCK..") + flatName(realDevice(device));
    }
    return {};
}

namespace {

std::function<void()> &beforeStaleRemoval()
{
    static std::function<void()> hook;
    return hook;
}

enum class Removal { Removed, Changed, NotOurs };

// Removes the stale lock at `path`, but only the very file that was found
// stale: under its flock (every lock of ours holds one while it lives, and
// two of us taking the same stale lock over take turns here), read again,
// and still the file under that name. A second taker finds the name gone or
// pointing at the first one's new lock, and leaves it.
Removal removeStale(const QByteArray &path, qint64 *pid)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Removal::Changed;
    Removal removal = Removal::Changed;
    char buffer[128];
    struct stat opened {}, named {};
    auto stillStale = [&] {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
        *pid = n > 0 ? lockPid(QByteArray(buffer, n)) : 0;
        return *pid > 0 && !isRunning(*pid);
    };
    // A live lock (another taker's new one, say) is left at once; another
    // taker's turn on a stale one is short: a read, a look, an unlink.
    bool turn = false;
    for (int wait = 0; wait < 200 && stillStale() && !(turn = ::flock(fd, LOCK_EX | LOCK_NB) == 0); ++wait)
        ::usleep(10000);
    if (turn) {
        const bool same = ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
                       && opened.st_ino == named.st_ino;
        if (same && stillStale())
            removal = ::unlink(path.constData()) == 0 || errno == ENOENT ? Removal::Removed : Removal::NotOurs;
    }
    ::close(fd);
    return removal;
}

} // namespace

qint64 lockPid(const QByteArray &content)
{
    bool ok = false;
    const qint64 pid = content.split('\n').first().trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

void DeviceLock::setBeforeStaleRemoval(std::function<void()> hook)
{
    beforeStaleRemoval() = std::move(hook);
}

LockReading readLock(const QString &path)
{
    const QByteArray name = encoded(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return {errno == ENOENT ? LockState::Absent : LockState::Unreadable, {}};
    if (!S_ISREG(info.st_mode))
        return {LockState::Unreadable, {}};
    // Checked again on what was opened, in case the file was swapped meanwhile.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {errno == ENOENT ? LockState::Absent : LockState::Unreadable, {}};
    char buffer[128];
    const ssize_t n = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? ::read(fd, buffer, sizeof buffer) : -1;
    ::close(fd);
    if (n < 0)
        return {LockState::Unreadable, {}};

    const qint64 pid = lockPid(QByteArray(buffer, n));
    if (pid == 0)
        return {LockState::Unreadable, {}};
    if (!isRunning(pid))
        return {LockState::Stale, {}};
    return {LockState::Live, {pid, programOf(pid)}};
}

DeviceLock::DeviceLock(const QString &device)
{
    m_path = lockFilePath(device);
    if (m_path.isEmpty())
        return;
    // A few rounds: a stale lock removed, or another program's lock that
    // came and went between our looks.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const LockReading reading = readLock(m_path);
        switch (reading.state) {
        case LockState::Live:
            m_status = Status::Held;
            m_holder = reading.holder;
            return;
        case LockState::Unreadable:
            m_status = Status::Unreadable;
            return;
        case LockState::Stale:
            if (beforeStaleRemoval())
                beforeStaleRemoval()();
            if (removeStale(encoded(m_path), &m_stalePid) == Removal::NotOurs) {
                m_status = Status::StaleKept;
                return;
            }
            continue;
        case LockState::Absent:
            break;
        }
        switch (writeLock(m_path, &m_fd)) {
        case Write::Done:
            m_status = Status::Taken;
            return;
        case Write::Refused:
            m_status = Status::NotKept;  // the folder takes no lock; the others still stand
            return;
        case Write::Failed:
            break;  // somebody was quicker, or our file went astray: look again
        }
    }
    m_status = Status::Unreadable;
}

DeviceLock::~DeviceLock()
{
    release();
}

DeviceLock::DeviceLock(DeviceLock &&other) noexcept
{
    *this = std::move(other);
}

DeviceLock &DeviceLock::operator=(DeviceLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_status = std::exchange(other.m_status, Status::NotKept);
        m_holder = other.m_holder;
        m_path = std::exchange(other.m_path, QString());
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

// Only a lock that still names us goes: one that somebody replaced stays.
void DeviceLock::release()
{
    if (m_status == Status::Taken) {
        const LockReading reading = readLock(m_path);
        if (reading.state == LockState::Live && reading.holder.pid == qint64(::getpid()))
            ::unlink(encoded(m_path).constData());
    }
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    m_status = Status::NotKept;
}

} // namespace SerialDevice
