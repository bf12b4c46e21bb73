#include "serialdevice.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <grp.h>
#include <mutex>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace SerialDevice {

namespace {

std::mutex tableMutex;
QHash<QString, QString> &aliases()
{
    static QHash<QString, QString> table;
    return table;
}
QStringList &lockFolders()
{
    static QStringList folders = {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")};
    return folders;
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString realDevice(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString shortName(const QString &device)
{
    return device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
}

QString programOf(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readLine(64)).trimmed();
}

// Whether a process of that number runs; one of another user's counts too.
bool isRunning(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// The pseudo-terminal slaves have majors 136 to 143.
bool isPseudoTerminal(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136
        && major(info.st_rdev) <= 143;
}

enum class LockRead { Absent, Live, Stale, Unreadable };

// The process a lock file names, in either common form: ten right-aligned
// digits and a newline, or a first line that is a process number.
std::optional<qint64> lockOwner(QFile &file)
{
    bool ok = false;
    const qint64 pid = file.readLine(64).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? std::optional(pid) : std::nullopt;
}

LockRead readLock(const QString &path, Holder *holder)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) || QFileInfo(path).isSymLink() ? LockRead::Unreadable : LockRead::Absent;
    const std::optional<qint64> owner = lockOwner(file);
    if (!owner)
        return LockRead::Unreadable;
    const qint64 pid = *owner;
    if (!isRunning(pid))
        return LockRead::Stale;
    *holder = {pid, programOf(pid)};
    return LockRead::Live;
}

// Takes the device's lock file, or says who holds it. A lock whose process
// is gone is removed. Where the folder is not ours to write, existing locks
// are still honoured and none is made.
bool takeLock(const QString &device, QString *taken, PortState *state)
{
    const QString path = lockFilePath(device);
    if (path.isEmpty())
        return true;
    for (int attempt = 0; attempt < 3; ++attempt) {
        Holder holder;
        switch (readLock(path, &holder)) {
        case LockRead::Live:
            state->holder = holder;
            return false;
        case LockRead::Unreadable:
            state->lockFile = path;
            return false;
        case LockRead::Stale:
            if (::unlink(encoded(path).constData()) != 0 && errno != ENOENT) {
                state->lockFile = path;
                return false;
            }
            continue;
        case LockRead::Absent:
            break;
        }
        // Written in full under a name of our own, then linked into place:
        // link() never follows a link and never replaces an existing file,
        // and nobody can read a half-written lock.
        const QString temporary = QFileInfo(path).path() + QStringLiteral("/LTMP.%1").arg(::getpid());
        const QByteArray tmp = encoded(temporary);
        ::unlink(tmp.constData());
        const int fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            return true;  // a folder we may not write: nothing more to do
        const QByteArray pid = QByteArray::number(qint64(::getpid())).rightJustified(10, ' ') + '\n';
        const bool written = ::write(fd, pid.constData(), size_t(pid.size())) == pid.size();
        ::close(fd);
        const int linked = written ? ::link(tmp.constData(), encoded(path).constData()) : -1;
        const int linkError = errno;
        ::unlink(tmp.constData());
        if (linked == 0) {
            *taken = path;
            return true;
        }
        if (!written || linkError != EEXIST)
            return true;  // the folder takes no lock; the other locks still stand
    }
    state->lockFile = path;
    return false;
}

void releaseLock(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && lockOwner(file) == qint64(::getpid()))
        ::unlink(encoded(path).constData());
}

} // namespace

std::optional<Holder> processHolding(const QString &device)
{
    const QByteArray wanted = encoded(device);
    const std::unique_ptr<DIR, int (*)(DIR *)> proc(::opendir("/proc"), ::closedir);
    if (!proc)
        return std::nullopt;
    const long self = long(::getpid());
    while (const dirent *process = ::readdir(proc.get())) {
        char *end = nullptr;
        const long pid = std::strtol(process->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == self)
            continue;
        const QByteArray fdDir = "/proc/" + QByteArray(process->d_name) + "/fd";
        const std::unique_ptr<DIR, int (*)(DIR *)> fds(::opendir(fdDir.constData()), ::closedir);
        if (!fds)
            continue;  // another user's process, when we are not root
        while (const dirent *fd = ::readdir(fds.get())) {
            char target[256];
            const QByteArray link = fdDir + '/' + fd->d_name;
            const ssize_t n = ::readlink(link.constData(), target, sizeof target);
            if (n == wanted.size() && wanted == QByteArrayView(target, n))
                return Holder{pid, programOf(pid)};
        }
    }
    return std::nullopt;
}

QString devicePath(const QString &port)
{
    {
        const std::lock_guard lock(tableMutex);
        if (const auto alias = aliases().constFind(port); alias != aliases().cend())
            return *alias;
    }
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]{0,5})$"));
    if (const QRegularExpressionMatch m = comName.match(port); m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (port.contains(QLatin1Char('/')))
        return port;
    return QStringLiteral("/dev/") + port;
}

void registerAlias(const QString &name, const QString &path)
{
    const std::lock_guard lock(tableMutex);
    aliases().insert(name, path);
}

void unregisterAlias(const QString &name)
{
    const std::lock_guard lock(tableMutex);
    aliases().remove(name);
}

void setLockDirectories(const QStringList &folders)
{
    const std::lock_guard lock(tableMutex);
    lockFolders() = folders;
}

QStringList lockDirectories()
{
    const std::lock_guard lock(tableMutex);
    return lockFolders();
}

QString flatName(const QString &path)
{
    QString name = shortName(path);
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

QString lockFilePath(const QString &device)
{
    for (const QString &folder : lockDirectories()) {
        if (QFileInfo(folder).isDir())
            return folder + QStringLiteral("/LCK..") + flatName(realDevice(device));
    }
    return {};
}

QString describe(const PortState &state)
{
    const QString name = shortName(state.device);
    switch (state.access) {
    case Access::Free:
        return QStringLiteral("%1: szabad").arg(name);
    case Access::Missing:
        return QStringLiteral("%1: nem található").arg(name);
    case Access::NoPermission:
        return QStringLiteral("%1: nincs jogosultság (csoport: %2)").arg(name, state.group);
    case Access::Busy:
        if (state.holder && !state.holder->program.isEmpty())
            return QStringLiteral("%1: foglalt (%2, %3)").arg(name, state.holder->program).arg(state.holder->pid);
        if (state.holder)
            return QStringLiteral("%1: foglalt (%2)").arg(name).arg(state.holder->pid);
        if (!state.lockFile.isEmpty())
            return QStringLiteral("%1: foglalt (zárolófájl: %2)").arg(name, state.lockFile);
        return QStringLiteral("%1: foglalt").arg(name);
    }
    return name;
}

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
    const QString path = devicePath(port);
    state.device = realDevice(path);
    if (port.isEmpty() || !QFileInfo::exists(path))
        return state;
    Holder holder;
    const QString lock = lockFilePath(path);
    const LockRead read = lock.isEmpty() ? LockRead::Absent : readLock(lock, &holder);
    if (read == LockRead::Live || read == LockRead::Unreadable) {
        state.access = Access::Busy;
        if (read == LockRead::Live)
            state.holder = holder;
        else
            state.lockFile = lock;
        return state;
    }
    const int probeFd = ::open(encoded(path).constData(), O_PATH | O_CLOEXEC);
    const bool pseudoTerminal = probeFd >= 0 && isPseudoTerminal(probeFd);
    if (probeFd >= 0)
        ::close(probeFd);
    if (!pseudoTerminal) {
        if (const std::optional<Holder> user = processHolding(state.device)) {
            state.access = Access::Busy;
            state.holder = user;
            return state;
        }
    }
    if (::access(encoded(path).constData(), R_OK | W_OK) != 0) {
        state.access = Access::NoPermission;
        state.group = owningGroup(path);
        return state;
    }
    state.access = Access::Free;
    return state;
}

ExclusivePort::ExclusivePort(const QString &port)
{
    const QString path = devicePath(port);
    m_state.device = realDevice(path);
    if (port.isEmpty() || !QFileInfo::exists(path)) {
        errno = ENOENT;
        return;
    }
    if (!takeLock(path, &m_lockFile, &m_state)) {
        m_state.access = Access::Busy;
        return;
    }
    const int fd = ::open(encoded(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        m_state.access = error == EACCES || error == EPERM ? Access::NoPermission
                       : error == EBUSY                    ? Access::Busy
                                                           : Access::Missing;
        if (m_state.access == Access::NoPermission)
            m_state.group = owningGroup(path);
        close();
        errno = error;
        return;
    }
    m_fd = fd;
    // Our own second open is stopped by the advisory lock; another opener,
    // even one running as root, shows in the exclusive flag or among the
    // processes that have the device open.
    int exclusive = 0;
    const bool terminal = ::isatty(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || (terminal && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive)) {
        m_state.access = Access::Busy;
        if (!isPseudoTerminal(fd))
            m_state.holder = processHolding(m_state.device);
        close();
        return;
    }
    if (terminal && !isPseudoTerminal(fd)) {
        if (const std::optional<Holder> user = processHolding(m_state.device)) {
            m_state.access = Access::Busy;
            m_state.holder = user;
            close();
            return;
        }
    }
    if (terminal) {
        if (::ioctl(fd, TIOCEXCL) != 0) {
            m_state.access = Access::Busy;
            close();
            return;
        }
        m_setExclusive = true;
    }
    m_state.access = Access::Free;
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
        m_lockFile = std::exchange(other.m_lockFile, QString());
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
    if (!m_lockFile.isEmpty())
        releaseLock(m_lockFile);
    m_lockFile.clear();
}

} // namespace SerialDevice
