#include "exclusiveport.h"

#include "portname.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace SerialDevice {

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// The pseudo-terminal slaves have majors 136 to 143.
bool isPseudoTerminal(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136
        && major(info.st_rdev) <= 143;
}

bool isPseudoTerminal(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_PATH | O_CLOEXEC);
    const bool pseudo = fd >= 0 && isPseudoTerminal(fd);
    if (fd >= 0)
        ::close(fd);
    return pseudo;
}

// Fills in who holds the device according to its lock; false when nobody does.
bool heldByLock(const DeviceLock &lock, PortState *state)
{
    if (lock.allows())
        return false;
    state->access = Access::Busy;
    if (lock.status() == DeviceLock::Status::Held) {
        state->holder = lock.holder();
    } else {
        state->lockFile = lock.path();
        if (lock.status() == DeviceLock::Status::StaleKept)
            state->stalePid = lock.stalePid();
    }
    return true;
}

} // namespace

QString owningGroup(const QString &path)
{
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0)
        return {};
    const group *g = ::getgrgid(info.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(info.st_gid);
}

PortState probe(const QString &port)
{
    const ExclusivePort taken(port);
    return taken.state();
}

PortState inspect(const QString &port)
{
    PortState state;
    if (port.isEmpty())
        return state;
    const QString path = devicePath(port);
    state.device = realDevice(path);
    if (!QFileInfo::exists(path))
        return state;
    const QString lock = lockFilePath(path);
    const LockReading reading = lock.isEmpty() ? LockReading{} : readLock(lock);
    if (reading.state == LockState::Live || reading.state == LockState::Unreadable) {
        state.access = Access::Busy;
        if (reading.state == LockState::Live)
            state.holder = reading.holder;
        else
            state.lockFile = lock;
        return state;
    }
    if (!isPseudoTerminal(path)) {
        if (const std::optional<Holder> user = processHolding(state.device)) {
            state.access = Access::Busy;
            state.holder = user;
            return state;
        }
    }
    if (::access(encoded(path).constData(), R_OK | W_OK) != 0) {
        state.access = Access::NoPermission;
        state.group = owningGroup(path);
        state.permission = permissionAdvice(path);
        return state;
    }
    state.access = Access::Free;
    return state;
}

ExclusivePort::ExclusivePort(const QString &port)
{
    if (port.isEmpty())
        return;
    const QString path = devicePath(port);
    m_state.device = realDevice(path);
    if (!QFileInfo::exists(path))
        return;
    m_lock = DeviceLock(path);
    if (heldByLock(m_lock, &m_state)) {
        close();
        return;
    }
    const int fd = ::open(encoded(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        refuse(error == EACCES || error == EPERM ? Access::NoPermission
               : error == EBUSY                  ? Access::Busy
                                                 : Access::Missing);
        if (m_state.access == Access::NoPermission) {
            m_state.group = owningGroup(path);
            m_state.permission = permissionAdvice(path);
        }
        return;
    }
    m_fd = fd;
    // Our own second open is stopped by the advisory lock; another opener,
    // even one running as root, shows in the exclusive flag or among the
    // processes that have the device open.
    const bool terminal = ::isatty(fd);
    const bool pseudo = isPseudoTerminal(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (!pseudo)
            m_state.holder = processHolding(m_state.device);
        refuse(Access::Busy);
        return;
    }
    if (terminal && !clearOrphanedFlag(fd, pseudo)) {
        refuse(Access::Busy);
        return;
    }
    if (terminal && !pseudo) {
        if (const std::optional<Holder> user = processHolding(m_state.device)) {
            m_state.holder = user;
            refuse(Access::Busy);
            return;
        }
    }
    if (terminal) {
        if (::ioctl(fd, TIOCEXCL) != 0) {
            refuse(Access::Busy);
            return;
        }
        m_setExclusive = true;
    }
    m_state.access = Access::Free;
}

// An exclusive flag that nobody holds any more (its program was killed, and a
// pseudo-terminal keeps the flag while its other side is open) is cleared: it
// must not keep the port busy for good. False when somebody holds it.
bool ExclusivePort::clearOrphanedFlag(int fd, bool pseudo)
{
    int exclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &exclusive) != 0 || !exclusive)
        return true;
    m_state.holder = pseudo ? processUsing(m_state.device) : processHolding(m_state.device);
    return !m_state.holder && ::ioctl(fd, TIOCNXCL) == 0;
}

void ExclusivePort::refuse(Access access)
{
    m_state.access = access;
    close();
}

ExclusivePort::~ExclusivePort()
{
    close();
}

ExclusivePort::ExclusivePort(ExclusivePort &&other) noexcept
{
    *this = std::move(other);
}

ExclusivePort &ExclusivePort::operator=(ExclusivePort &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_setExclusive = std::exchange(other.m_setExclusive, false);
        m_lock = std::move(other.m_lock);
        m_state = other.m_state;
    }
    return *this;
}

void ExclusivePort::close()
{
    if (m_fd >= 0) {
        if (m_setExclusive)
            ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }
    m_fd = -1;
    m_setExclusive = false;
    m_lock.release();
}

} // namespace SerialDevice
