#include "seriallink.h"

#include "lineinterrupt.h"

#include <QDebug>
#include <QHash>
#include <QRegularExpression>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
// 10 bits a byte (start, 8 data, stop) at 1200 baud.
constexpr auto ByteTime = std::chrono::microseconds(1'000'000 * 10 / 1200);

std::mutex aliasMutex;
QHash<QString, QString> &aliases()
{
    static QHash<QString, QString> table;
    return table;
}

std::mutex queueMutex;
SerialLink::QueueReading &queueReading()
{
    static SerialLink::QueueReading reading;
    return reading;
}

int queuedBytes(int fd)
{
    {
        const std::lock_guard lock(queueMutex);
        if (queueReading())
            return queueReading()(fd);
    }
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}

void closeQuietly(int fd)
{
    if (isatty(fd))
        ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

} // namespace

SerialLink::SerialLink(const LineInterrupt *interrupt)
    : m_interrupt(interrupt)
{
}

SerialLink::~SerialLink()
{
    close();
}

void SerialLink::registerAlias(const QString &name, const QString &path)
{
    const std::lock_guard lock(aliasMutex);
    aliases().insert(name, path);
}

void SerialLink::setQueueReading(QueueReading reading)
{
    const std::lock_guard lock(queueMutex);
    queueReading() = std::move(reading);
}

QString SerialLink::devicePath(const QString &port)
{
    {
        const std::lock_guard lock(aliasMutex);
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

// Read/write, no controlling terminal, and held against every other careful
// opener: the advisory lock stops our own second open (root passes TIOCEXCL),
// TIOCEXCL stops programs that do not lock.
int SerialLink::openExclusive(const QString &port)
{
    if (port.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    const QByteArray path = devicePath(port).toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || (isatty(fd) && ::ioctl(fd, TIOCEXCL) != 0)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

SerialLink::ProbeResult SerialLink::probeDetail(const QString &port)
{
    const int fd = openExclusive(port);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? ProbeResult::NoPermission : ProbeResult::Unavailable;
    closeQuietly(fd);
    return ProbeResult::Available;
}

SerialLink::OpenStatus SerialLink::open(const QString &port, int readTimeoutMs)
{
    close();
    const int fd = openExclusive(port);
    if (fd < 0) {
        qDebug("unable to open comport");
        return OpenStatus::OpenFailed;
    }

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0 || ::cfsetispeed(&tio, B1200) != 0
        || ::cfsetospeed(&tio, B1200) != 0) {
        qDebug("unable to set comport dcb settings");
        closeQuietly(fd);
        return OpenStatus::DescriptionFailed;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;

    // Bytes left over from an earlier exchange are not part of this one.
    if (::tcsetattr(fd, TCSANOW, &tio) != 0 || ::tcflush(fd, TCIFLUSH) != 0) {
        qDebug("unable to set comport cfg settings");
        closeQuietly(fd);
        return OpenStatus::ApplyFailed;
    }

    if (readTimeoutMs <= 0) {
        qDebug("unable to set comport time-out settings");
        closeQuietly(fd);
        return OpenStatus::TimeoutFailed;
    }

    m_fd = fd;
    m_readTimeoutMs = readTimeoutMs;
    m_peerGone = false;
    m_lineIdleAt = {};
    return OpenStatus::Opened;
}

void SerialLink::close()
{
    if (m_fd < 0)
        return;
    // An abandoned transfer sends nothing more, not even what the driver
    // still holds.
    if (m_interrupt && m_interrupt->isTriggered())
        ::tcflush(m_fd, TCOFLUSH);
    closeQuietly(m_fd);
    m_fd = -1;
}

// Waits until the port is ready for `events` (none: only a hang-up or the
// interrupt ends the wait early), the time-out passes (a negative time-out
// waits without end), the interrupt fires or the peer vanishes. Signals do
// not shorten the wait.
SerialLink::Wait SerialLink::waitFor(short events, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int waitMs = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            waitMs = int(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        pollfd fds[2] = {{m_fd, events, 0}, {m_interrupt ? m_interrupt->fd() : -1, POLLIN, 0}};
        const int n = ::poll(fds, m_interrupt ? 2 : 1, waitMs);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_peerGone = true;
            return Wait::PeerGone;
        }
        if (n == 0)
            return Wait::TimedOut;
        if (m_interrupt && (fds[1].revents & POLLIN))
            return Wait::Interrupted;
        if (fds[0].revents & events)
            return Wait::Ready;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            m_peerGone = true;
            return Wait::PeerGone;
        }
    }
}

// Sleeps while the driver holds more than the line sends in about 50 ms, for
// about as long as the line needs to send the excess. False when the wait
// was cut short by the interrupt or a hang-up.
bool SerialLink::waitForShortQueue()
{
    for (;;) {
        const int excess = queuedBytes(m_fd) - MaxQueuedBytes;
        if (excess <= 0)
            return true;
        const auto drain = std::chrono::ceil<std::chrono::milliseconds>(excess * ByteTime);
        if (waitFor(0, int(drain.count())) != Wait::TimedOut)
            return false;
    }
}

int SerialLink::writeByte(unsigned char byte)
{
    if (m_fd < 0 || m_peerGone || (m_interrupt && m_interrupt->isTriggered()))
        return 0;
    for (;;) {
        const ssize_t n = ::write(m_fd, &byte, 1);
        if (n == 1) {
            m_lineIdleAt = std::max(m_lineIdleAt, Clock::now()) + ByteTime;
            waitForShortQueue();
            return 1;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && waitFor(POLLOUT, -1) == Wait::Ready)
            continue;
        if (n < 0 && errno != EAGAIN)
            m_peerGone = true;
        return 0;
    }
}

std::optional<unsigned char> SerialLink::readByte()
{
    if (m_fd < 0 || m_peerGone)
        return std::nullopt;
    // The driver takes written bytes at once but the line carries them at
    // 1200 baud; the module cannot answer before the last one has arrived, so
    // the time-out runs from when the line falls idle.
    const auto deadline = std::max(Clock::now(), m_lineIdleAt) + std::chrono::milliseconds(m_readTimeoutMs);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (waitFor(POLLIN, int(std::max<std::chrono::milliseconds::rep>(left.count(), 0))) != Wait::Ready)
            return std::nullopt;
        unsigned char byte = 0;
        const ssize_t n = ::read(m_fd, &byte, 1);
        if (n == 1)
            return byte;
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        m_peerGone = true;  // end of file or I/O error: the other side is gone
        return std::nullopt;
    }
}
