#include "portholder.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace SerialDevice {

namespace {

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.read(512) : QByteArray();
}

// A zombie ('Z') or a process on its way out ('X') has let go of its files.
bool hasEnded(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    const qsizetype nameEnd = stat.lastIndexOf(')');  // the name may hold blanks and brackets
    if (nameEnd < 0 || nameEnd + 2 >= stat.size())
        return false;
    const char state = stat.at(nameEnd + 2);
    return state == 'Z' || state == 'X';
}

} // namespace

bool isRunning(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM) && !hasEnded(pid);
}

QString programOf(qint64 pid)
{
    return QString::fromLocal8Bit(procFile(pid, "comm").left(64)).trimmed();
}

namespace {

std::optional<Holder> findHolder(const QString &device, bool skipKeepers);

} // namespace

std::optional<Holder> processHolding(const QString &device)
{
    return findHolder(device, false);
}

std::optional<Holder> processUsing(const QString &pseudoTerminal)
{
    return findHolder(pseudoTerminal, true);
}

namespace {

// The pseudo-terminal whose master a descriptor of /dev/ptmx is, as the
// kernel tells it in the descriptor's fdinfo ("tty-index"); -1 where it
// does not say.
int masterIndex(const QByteArray &process, const char *fd)
{
    QFile info(QString::fromLatin1("/proc/" + process + "/fdinfo/" + fd));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : info.read(4096).split('\n')) {
        if (line.startsWith("tty-index:")) {
            bool ok = false;
            const int index = line.mid(10).trimmed().toInt(&ok);
            return ok ? index : -1;
        }
    }
    return -1;
}

// The number of /dev/pts/N; -1 for any other device.
int ptsIndex(const QByteArray &device)
{
    bool ok = false;
    const int index = device.startsWith("/dev/pts/") ? device.mid(9).toInt(&ok) : -1;
    return ok ? index : -1;
}

std::optional<Holder> findHolder(const QString &device, bool skipKeepers)
{
    const QByteArray wanted = QFile::encodeName(device);
    const int pts = ptsIndex(wanted);
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
        bool holds = false, keeps = false;
        while (const dirent *fd = ::readdir(fds.get())) {
            char target[256];
            const QByteArray link = fdDir + '/' + fd->d_name;
            const ssize_t n = ::readlink(link.constData(), target, sizeof target);
            const QByteArrayView name(target, std::max<ssize_t>(n, 0));
            holds = holds || (n == wanted.size() && wanted == name);
            // Only the master of this very terminal makes a keeper: a
            // terminal multiplexer holds masters of its own terminals.
            if (skipKeepers && !keeps && (name == "/dev/ptmx" || name == "/dev/pts/ptmx")) {
                const int index = masterIndex(QByteArray(process->d_name), fd->d_name);
                keeps = index < 0 || index == pts;
            }
        }
        if (holds && !(skipKeepers && keeps))
            return Holder{pid, programOf(pid)};
    }
    return std::nullopt;
}

} // namespace

} // namespace SerialDevice
