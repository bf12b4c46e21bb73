#pragma once

#include "core/port/exclusiveport.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class LineInterrupt;

// The serial port, opened exclusively for one transfer at 1200 baud 8N1
// without flow control, and driven one byte at a time. Reads give up after the
// time-out chosen at open; a vanished peer (hang-up, I/O error) ends a read at
// once. The port, and every lock taken on it, is released when the link is
// destroyed, on every path.
class SerialLink
{
public:
    enum class OpenStatus { Opened, OpenFailed, DescriptionFailed, ApplyFailed, TimeoutFailed };

    // How many written bytes a port's driver still holds (TIOCOUTQ), given
    // the port and how many bytes the link has written to it. A test stands
    // in for a real port's queue here.
    using QueueReading = std::function<int(int fd, qint64 written)>;

    explicit SerialLink(const LineInterrupt *interrupt = nullptr, QueueReading queueReading = {});
    ~SerialLink();
    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    // Writes the failing step's line to the debug output.
    OpenStatus open(const QString &port, int readTimeoutMs);
    bool isOpen() const { return m_port.isOpen(); }
    // Whether the link's interrupt has fired: the exchange was abandoned.
    bool isInterrupted() const;
    // Whether the other side hung up (or the device went away).
    bool hasHungUp() const { return m_peerGone; }
    // Why the last open failed at its first step: missing, busy (and by
    // whom), or forbidden.
    const SerialDevice::PortState &openProblem() const { return m_port.state(); }
    // 1 when the byte was handed to the port, 0 otherwise. Waits as long as the
    // port needs, unless the interrupt is triggered, and then until the port
    // holds no more than MaxQueuedBytes: a byte counts as sent once it is on
    // its way down the line, not when the driver has buffered it.
    int writeByte(unsigned char byte);
    // The next byte, or nothing after the read time-out, counted from when
    // the bytes written so far have gone down the line.
    std::optional<unsigned char> readByte();
    // Throws away what the module sent before the next request: whatever is
    // waiting, and whatever goes on coming until the line has been quiet
    // for three byte times (the rest of an answer to an earlier, abandoned
    // request). At most MaxAnswerMs; the interrupt ends it.
    void discardInput();
    void close();

    // Bytes that went each way since the port was opened.
    qint64 bytesWritten() const { return m_written; }
    qint64 bytesRead() const { return m_read; }

    // Whether the port exists and nobody holds it: the exclusive open alone.
    static bool probe(const QString &port) { return SerialDevice::probe(port).access == SerialDevice::Access::Free; }

    // What the line carries in about 50 ms at 1200 baud: the most a write
    // runs ahead of the line.
    static constexpr int MaxQueuedBytes = 6;
    // Whether writes keep to the line's pace (see TAVIR340_LINE_PACE).
    static bool linePaced();

private:
    enum class Wait { Ready, TimedOut, Interrupted, PeerGone };

    Wait waitFor(short events, int timeoutMs);
    bool waitForShortQueue();
    int queuedBytes() const;
    void logByte(bool toModule, unsigned char byte);
    void endBurst();

    const LineInterrupt *m_interrupt;
    QueueReading m_queueReading;
    SerialDevice::ExclusivePort m_port;
    int m_readTimeoutMs = 0;
    qint64 m_written = 0;
    qint64 m_read = 0;
    QString m_portName;
    bool m_peerGone = false;
    bool m_paced = true;
    std::chrono::steady_clock::time_point m_lineIdleAt{};  // when the last written byte is through

    // The burst of bytes the exchange log has yet to write.
    struct Burst
    {
        bool toModule = false;
        qint64 startMs = 0;
        std::chrono::steady_clock::time_point last{};
        QByteArray bytes;
    } m_burst;
};
