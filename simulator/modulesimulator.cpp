#include "modulesimulator.h"

#include "core/link/linetiming.h"

#include "core/port/portname.h"
#include "core/record/contentrecord.h"
#include "core/link/lineinterrupt.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto ByteTime = LineByteTime;
// No piece the module stores is longer; the rest of a runaway piece is dropped.
constexpr int MaxPieceBytes = 256;

QByteArray fitField(QByteArray field)
{
    field.truncate(ModuleSimulator::FieldWidth);
    field.append(ModuleSimulator::FieldWidth - field.size(), char(0xFF));
    return field;
}

} // namespace

struct ModuleSimulator::Engine
{
    enum class State { Idle, Request, Download };

    SimulatorOptions options;
    int master = -1;
    int slaveKeeper = -1;  // keeps the master from reading a hang-up between transfers
    QString slavePath;
    QString error;
    LineInterrupt stopRequest;
    LineInterrupt resumeRequest;
    std::thread thread;

    mutable std::mutex mutex;
    QList<QByteArray> fields;
    QByteArray received;
    QByteArray sent;
    int downloads = 0;
    bool hungUp = false;

    // Read by isIdle() and isPaused() from other threads.
    std::atomic<State> state = State::Idle;
    int requestsSeen = 0;
    std::atomic<bool> answering = false;
    std::atomic<bool> paused = false;
    QList<QByteArray> pieces;
    QByteArray piece;
    Clock::time_point receiveLineFree{};
    Clock::time_point sendLineFree{};

    void run();
    bool waitUntil(Clock::time_point when);
    bool take(unsigned char byte);
    bool answer(const QByteArray &bytes);
    bool send(const QByteArray &bytes);
    bool countAndMaybeHangUp(bool lastWasOurs);
    void waitUntilHostHasTaken();
    bool pauseReading();
    void hangUp();
    bool checksumMatches() const;
    void storePieces();
};

ModuleSimulator::ModuleSimulator(SimulatorOptions options)
    : d(std::make_unique<Engine>())
{
    d->options = std::move(options);
    for (int i = 0; i < FieldCount; ++i)
        d->fields.append(QByteArray(FieldWidth, char(0xFF)));
}

ModuleSimulator::~ModuleSimulator()
{
    stop();
}

bool ModuleSimulator::start()
{
    stop();
    d->stopRequest.reset();
    d->resumeRequest.reset();
    d->state = Engine::State::Idle;
    d->answering = false;
    d->paused = false;
    d->pieces.clear();
    d->piece.clear();
    {
        std::lock_guard lock(d->mutex);
        d->hungUp = false;
    }

    d->master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (d->master < 0 || ::grantpt(d->master) != 0 || ::unlockpt(d->master) != 0) {
        d->error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(qt_error_string(errno));
        stop();
        return false;
    }
    char name[128] = {};
    ::ptsname_r(d->master, name, sizeof name);
    d->slavePath = QString::fromLocal8Bit(name);
    d->slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (d->slaveKeeper < 0) {
        d->error = QStringLiteral("cannot open %1: %2").arg(d->slavePath, qt_error_string(errno));
        stop();
        return false;
    }

    if (!d->options.linkPath.isEmpty()) {
        // Only a link of ours, or of an earlier run, gives way: never a file.
        const QFileInfo existing(d->options.linkPath);
        if (existing.isSymLink()) {
            QFile::remove(d->options.linkPath);
        } else if (existing.exists()) {
            d->error = QStringLiteral("%1 exists and is not a symbolic link").arg(d->options.linkPath);
            stop();
            return false;
        }
        if (!QFile::link(d->slavePath, d->options.linkPath)) {
            d->error = QStringLiteral("cannot create the link %1").arg(d->options.linkPath);
            stop();
            return false;
        }
    }
    if (!d->options.portName.isEmpty())
        SerialDevice::registerAlias(d->options.portName, d->slavePath);
    d->thread = std::thread([this] { d->run(); });
    return true;
}

void ModuleSimulator::stop()
{
    if (d->thread.joinable()) {
        d->stopRequest.trigger();
        d->thread.join();
    }
    d->hangUp();
    const QFileInfo link(d->options.linkPath);
    if (!d->slavePath.isEmpty() && link.isSymLink() && link.symLinkTarget() == d->slavePath)
        QFile::remove(d->options.linkPath);
    // The name must never lead to a pseudo-terminal that the system has since
    // given to somebody else.
    if (!d->options.portName.isEmpty())
        SerialDevice::unregisterAlias(d->options.portName);
}

QString ModuleSimulator::slavePath() const { return d->slavePath; }
QString ModuleSimulator::errorString() const { return d->error; }

QList<QByteArray> ModuleSimulator::fields() const
{
    std::lock_guard lock(d->mutex);
    return d->fields;
}

void ModuleSimulator::setFields(const QList<QByteArray> &fields)
{
    std::lock_guard lock(d->mutex);
    for (int i = 0; i < FieldCount; ++i)
        d->fields[i] = fitField(i < fields.size() ? fields[i] : QByteArray());
}

int ModuleSimulator::downloadsStored() const
{
    std::lock_guard lock(d->mutex);
    return d->downloads;
}

QByteArray ModuleSimulator::received() const
{
    std::lock_guard lock(d->mutex);
    return d->received;
}

QByteArray ModuleSimulator::sent() const
{
    std::lock_guard lock(d->mutex);
    return d->sent;
}

bool ModuleSimulator::isIdle() const
{
    return d->state == Engine::State::Idle && !d->answering;
}

bool ModuleSimulator::isPaused() const
{
    return d->paused;
}

void ModuleSimulator::resume()
{
    d->resumeRequest.trigger();
}

bool ModuleSimulator::hasHungUp() const
{
    std::lock_guard lock(d->mutex);
    return d->hungUp;
}

QByteArray ModuleSimulator::uploadAnswer(const QList<QByteArray> &fields, const QByteArray &preamble)
{
    QByteArray answer = preamble;
    for (const QByteArray &field : fields)
        answer += field + '\r';
    answer += char(FinalByte);
    return answer;
}

void ModuleSimulator::Engine::run()
{
    for (;;) {
        pollfd fds[2] = {{master, POLLIN, 0}, {stopRequest.fd(), POLLIN, 0}};
        const int timeout = state == State::Download ? options.downloadIdleMs : -1;
        const int n = ::poll(fds, 2, timeout);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (fds[1].revents & POLLIN))
            return;
        if (n == 0) {  // a download that stopped short
            state = State::Idle;
            continue;
        }
        if (fds[0].revents & (POLLERR | POLLNVAL))
            return;
        // A slow reader stops taking bytes exactly where it was told to.
        qsizetype budget = 256;
        if (options.pauseAfter >= 0) {
            const qsizetype taken = received.size();
            if (taken < options.pauseAfter)
                budget = std::min<qsizetype>(budget, options.pauseAfter - taken);
        }
        unsigned char buffer[256];
        const ssize_t got = ::read(master, buffer, size_t(budget));
        if (got <= 0) {
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            return;
        }
        // The host's bytes arrive one line time apart, starting when the line
        // was free; late wake-ups must not add up.
        const auto readAt = Clock::now();
        receiveLineFree = std::max(receiveLineFree, readAt);
        for (ssize_t i = 0; i < got; ++i) {
            if (options.paced) {
                receiveLineFree += ByteTime;
                if (!waitUntil(receiveLineFree))
                    return;
            }
            qsizetype count = 0;
            {
                std::lock_guard lock(mutex);
                received.append(char(buffer[i]));
                count = received.size();
            }
            if (options.onByte)
                options.onByte(true, buffer[i]);
            const bool pause = count == options.pauseAfter;
            if (pause) {
                ::tcflow(slaveKeeper, TCOOFF);  // the host's writes now wait
                paused = true;
            }
            if (!countAndMaybeHangUp(false) || !take(buffer[i]))
                return;
            if (pause && !pauseReading())
                return;
        }
    }
}

// Takes nothing for the pause, then lets the host's bytes flow again. False
// when the simulator is being stopped.
bool ModuleSimulator::Engine::pauseReading()
{
    pollfd wake[2] = {{stopRequest.fd(), POLLIN, 0}, {resumeRequest.fd(), POLLIN, 0}};
    ::poll(wake, 2, options.pauseMs);
    resumeRequest.reset();
    ::tcflow(slaveKeeper, TCOON);
    paused = false;
    return !(wake[0].revents & POLLIN);
}

// Sleeps until `when`; false when the simulator is being stopped meanwhile.
bool ModuleSimulator::Engine::waitUntil(Clock::time_point when)
{
    for (;;) {
        const auto left = when - Clock::now();
        if (left <= Clock::duration::zero())
            return true;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec wait{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        pollfd stop{stopRequest.fd(), POLLIN, 0};
        if (::ppoll(&stop, 1, &wait, nullptr) > 0)
            return false;
    }
}

// False when the module stopped or hung up on the way.
bool ModuleSimulator::Engine::take(unsigned char byte)
{
    switch (state.load()) {
    case State::Idle:
        if (byte == '~')
            state = State::Request;
        return true;
    case State::Request:
        state = State::Idle;
        if (byte == '~') {
            state = State::Request;
        } else if ((byte == '}' || byte == static_cast<unsigned char>(options.uploadCommand))
                   && requestsSeen++ < options.silentRequests) {
            return true;  // not awake yet: the request goes unheard
        } else if (byte == '}') {
            state = State::Download;
            pieces.clear();
            piece.clear();
            if (!options.silent)
                return send(options.readyReply);
        } else if (byte == static_cast<unsigned char>(options.uploadCommand) && !options.silent) {
            QByteArray upload;
            if (options.scriptedAnswer) {
                upload = *options.scriptedAnswer;
            } else {
                std::lock_guard lock(mutex);
                upload = ModuleSimulator::uploadAnswer(fields, options.preamble);
            }
            return answer(upload);
        }
        return true;
    case State::Download:
        if (byte != '\r') {
            if (piece.size() < MaxPieceBytes)
                piece.append(char(byte));
            return true;
        }
        pieces.append(piece);
        piece.clear();
        if (pieces.size() < FieldCount)
            return true;
        const bool accepted = checksumMatches();
        if (accepted)
            storePieces();
        state = State::Idle;
        if (options.silent)
            return true;
        return answer(accepted ? options.ackReply : options.refusalReply);
    }
    return true;
}

// The last request's answer; the module is idle again once its last byte
// has gone.
bool ModuleSimulator::Engine::answer(const QByteArray &bytes)
{
    answering = true;
    const bool sentAll = send(bytes);
    answering = false;
    return sentAll;
}

// The suffix behind the last item is the one the expected checksum mode
// gives over the record, separators included.
bool ModuleSimulator::Engine::checksumMatches() const
{
    if (!options.expectedCheckSize)
        return true;
    QByteArray record;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            record += options.recordSeparator;
        record += pieces[i].left(FieldWidth);
    }
    const QByteArray suffix = pieces.last().mid(FieldWidth);
    return suffix == checksumSuffix(QString::fromLatin1(record), *options.expectedCheckSize).toLatin1();
}

void ModuleSimulator::Engine::storePieces()
{
    std::lock_guard lock(mutex);
    for (int i = 0; i < FieldCount; ++i)
        fields[i] = fitField(pieces[i]);
    ++downloads;
}

// False when the module stopped or hung up before every byte went.
bool ModuleSimulator::Engine::send(const QByteArray &bytes)
{
    sendLineFree = std::max(sendLineFree, Clock::now());
    const auto interval = options.byteIntervalMs > 0 ? std::chrono::microseconds(options.byteIntervalMs * 1000)
                        : options.paced               ? ByteTime
                                                      : std::chrono::microseconds(0);
    for (char c : bytes) {
        if (master < 0)
            return false;
        if (interval.count() > 0) {
            sendLineFree += interval;
            if (!waitUntil(sendLineFree))
                return false;
        }
        // Noted before it goes, so whoever has read it also finds it here.
        {
            std::lock_guard lock(mutex);
            sent.append(c);
        }
        // A host that stops reading fills the line; the module waits for it,
        // but never past a stop.
        while (::write(master, &c, 1) != 1) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN)
                return false;
            pollfd p[2] = {{master, POLLOUT, 0}, {stopRequest.fd(), POLLIN, 0}};
            if (::poll(p, 2, -1) > 0 && (p[1].revents & POLLIN))
                return false;
        }
        if (options.onByte)
            options.onByte(false, static_cast<unsigned char>(c));
        if (!countAndMaybeHangUp(true))
            return false;
    }
    return true;
}

// False once the line has carried the bytes the hang-up fault allows.
bool ModuleSimulator::Engine::countAndMaybeHangUp(bool lastWasOurs)
{
    if (options.hangUpAfter < 0)
        return true;
    std::unique_lock lock(mutex);
    if (received.size() + sent.size() < options.hangUpAfter)
        return true;
    lock.unlock();
    if (lastWasOurs)
        waitUntilHostHasTaken();
    hangUp();
    return false;
}

// What is still on its way when the line drops is lost; a hang-up "after n
// bytes" waits until the host has them all (at most two seconds). Polling
// the terminal makes the kernel hand over whatever it still holds first.
void ModuleSimulator::Engine::waitUntilHostHasTaken()
{
    const auto giveUp = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < giveUp) {
        pollfd pending{slaveKeeper, POLLIN, 0};
        if (::poll(&pending, 1, 0) == 0)
            return;
        if (!waitUntil(Clock::now() + std::chrono::milliseconds(1)))
            return;
    }
}

void ModuleSimulator::Engine::hangUp()
{
    {
        std::lock_guard lock(mutex);
        hungUp = hungUp || master >= 0;
    }
    if (master >= 0)
        ::close(master);
    if (slaveKeeper >= 0)
        ::close(slaveKeeper);
    master = -1;
    slaveKeeper = -1;
    paused = false;
}

QByteArray decodeEscapes(const QString &text)
{
    const QByteArray in = text.toLatin1();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 == in.size()) {
            out += in[i];
            continue;
        }
        const char code = in[++i];
        if (code == 'r') {
            out += '\r';
        } else if (code == 'n') {
            out += '\n';
        } else if (code == 'x') {
            bool ok = false;
            const int value = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok && i + 2 < in.size()) {
                out += char(value);
                i += 2;
            } else {
                out += "\\x";
            }
        } else {
            out += code;
        }
    }
    return out;
}
