#include "seriallink.h"

#include "exchangelog.h"
#include "lineinterrupt.h"
#include "linetiming.h"

#include <QDebug>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto ByteTime = LineByteTime;
// A pause longer than this ends a burst in the exchange log.
constexpr auto BurstGap = std::chrono::milliseconds(100);
// How often a wait looks at an interrupt that has no descriptor.
constexpr int InterruptSliceMs = 50;

} // namespace

// TAVIR340_LINE_PACE=off lets bytes go as fast as the port takes them: for
// a simulated module that reads without the line's pace, never for a module.
bool SerialLink::linePaced()
{
    return qgetenv("TAVIR340_LINE_PACE") != "off";
}

SerialLink::SerialLink(const LineInterrupt *interrupt, QueueReading queueReading)
    : m_interrupt(interrupt)
    , m_queueReading(std::move(queueReading))
    , m_paced(linePaced())
{
}

SerialLink::~SerialLink()
{
    close();
}

SerialLink::OpenStatus SerialLink::open(const QString &port, int readTimeoutMs)
{
    close();
    m_port = SerialDevice::ExclusivePort(port);
    if (!m_port.isOpen()) {
        qDebug("unable to open comport");
        return OpenStatus::OpenFailed;
    }
    const int fd = m_port.fd();

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0 || ::cfsetispeed(&tio, B1200) != 0
        || ::cfsetospeed(&tio, B1200) != 0) {
        qDebug("unable to set comport dcb settings");
        m_port.close();
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
        m_port.close();
        return OpenStatus::ApplyFailed;
    }

    if (readTimeoutMs <= 0) {
        qDebug("unable to set comport time-out settings");
        m_port.close();
        return OpenStatus::TimeoutFailed;
    }

    m_readTimeoutMs = readTimeoutMs;
    m_peerGone = false;
    m_written = 0;
    m_read = 0;
    m_portName = port;
    m_lineIdleAt = {};
    return OpenStatus::Opened;
}

bool SerialLink::isInterrupted() const
{
    return m_interrupt && m_interrupt->isTriggered();
}

void SerialLink::close()
{
    if (!m_port.isOpen())
        return;
    endBurst();
    // An abandoned transfer sends nothing more, not even what the driver
    // still holds.
    if (isInterrupted())
        ::tcflush(m_port.fd(), TCOFLUSH);
    m_port.close();
}

// Waits until the port is ready for `events` (none: only a hang-up or the
// interrupt ends the wait early), the time-out passes (a negative time-out
// waits without end), the interrupt fires or the peer vanishes. Signals do
// not shorten the wait.
SerialLink::Wait SerialLink::waitFor(short events, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int interruptFd = m_interrupt ? m_interrupt->fd() : -1;
    for (;;) {
        if (m_interrupt && m_interrupt->isTriggered())
            return Wait::Interrupted;
        int waitMs = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            waitMs = int(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        // An interrupt without a descriptor is looked at between slices.
        const bool sliced = m_interrupt && interruptFd < 0 && (waitMs < 0 || waitMs > InterruptSliceMs);
        pollfd fds[2] = {{m_port.fd(), events, 0}, {interruptFd, POLLIN, 0}};
        const int n = ::poll(fds, interruptFd >= 0 ? 2 : 1, sliced ? InterruptSliceMs : waitMs);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_peerGone = true;
            return Wait::PeerGone;
        }
        if (n == 0) {
            if (sliced)
                continue;
            return Wait::TimedOut;
        }
        if (fds[1].revents & POLLIN)
            return Wait::Interrupted;
        if (fds[0].revents & events)
            return Wait::Ready;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            m_peerGone = true;
            return Wait::PeerGone;
        }
    }
}

int SerialLink::queuedBytes() const
{
    if (m_queueReading)
        return m_queueReading(m_port.fd(), m_written);
    int queued = 0;
    return ::ioctl(m_port.fd(), TIOCOUTQ, &queued) == 0 ? queued : 0;
}

// Sleeps while more than the line sends in about 50 ms is ahead of it: by
// the line's own pace first, counted from the bytes written (a
// pseudo-terminal, a network bridge and a USB adapter's own buffer say
// nothing of what they hold), then by what the driver says it holds. So a
// run that is stopped, frozen or fenced has at most that much on its way.
// False when the wait was cut short by the interrupt or a hang-up.
bool SerialLink::waitForShortQueue()
{
    // Once past the allowance, it sleeps until half of it is left: a wake-up
    // every few bytes, not every byte.
    const auto ahead = m_lineIdleAt - Clock::now();
    if (m_paced && ahead > MaxQueuedBytes * ByteTime) {
        const auto pace = std::chrono::ceil<std::chrono::milliseconds>(ahead - MaxQueuedBytes / 2 * ByteTime);
        if (waitFor(0, int(pace.count())) != Wait::TimedOut)
            return false;
    }
    for (;;) {
        const int excess = queuedBytes() - MaxQueuedBytes;
        if (excess <= 0)
            return true;
        const auto drain = std::chrono::ceil<std::chrono::milliseconds>(excess * ByteTime);
        if (waitFor(0, int(drain.count())) != Wait::TimedOut)
            return false;
    }
}

int SerialLink::writeByte(unsigned char byte)
{
    if (!m_port.isOpen() || m_peerGone || (m_interrupt && m_interrupt->isTriggered()))
        return 0;
    for (;;) {
        const ssize_t n = ::write(m_port.fd(), &byte, 1);
        if (n == 1) {
            ++m_written;
            logByte(true, byte);
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
    if (!m_port.isOpen() || m_peerGone)
        return std::nullopt;
    // The driver takes written bytes at once but the line carries them at
    // 1200 baud; the module cannot answer before the last one has arrived, so
    // the time-out runs from when the line falls idle.
    const auto deadline = std::max(Clock::now(), m_lineIdleAt) + std::chrono::milliseconds(m_readTimeoutMs);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (waitFor(POLLIN, int(std::max<std::chrono::milliseconds::rep>(left.count(), 0))) != Wait::Ready) {
            endBurst();  // the line has gone quiet
            return std::nullopt;
        }
        unsigned char byte = 0;
        const ssize_t n = ::read(m_port.fd(), &byte, 1);
        if (n == 1) {
            ++m_read;
            logByte(false, byte);
            return byte;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        m_peerGone = true;  // end of file or I/O error: the other side is gone
        return std::nullopt;
    }
}

void SerialLink::discardInput()
{
    constexpr int QuietMs = 25;        // three bytes at 1200 baud
    constexpr int LongestMs = 10000;   // an answer's longest
    if (!m_port.isOpen() || m_peerGone)
        return;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(LongestMs);
    do {
        ::tcflush(m_port.fd(), TCIFLUSH);
    } while (waitFor(POLLIN, QuietMs) == Wait::Ready && !isInterrupted() && Clock::now() < giveUp);
}

// Bytes one way, each within a moment of the one before, make one line.
void SerialLink::logByte(bool toModule, unsigned char byte)
{
    if (!ExchangeLog::isActive())
        return;
    const auto now = Clock::now();
    if (!m_burst.bytes.isEmpty() && (m_burst.toModule != toModule || now - m_burst.last > BurstGap))
        endBurst();
    if (m_burst.bytes.isEmpty()) {
        m_burst.toModule = toModule;
        m_burst.startMs = ExchangeLog::elapsedMs();
    }
    m_burst.bytes.append(char(byte));
    m_burst.last = now;
}

void SerialLink::endBurst()
{
    if (m_burst.bytes.isEmpty())
        return;
    ExchangeLog::write(m_portName, m_burst.toModule, m_burst.startMs, m_burst.bytes);
    m_burst.bytes.clear();
}
