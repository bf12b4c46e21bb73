#include "modulesimulator.h"

#include "transfer/lineinterrupt.h"

#include <QFile>

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
constexpr auto ByteTime = std::chrono::microseconds(1'000'000 * 10 / 1200);  // 8333 µs
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
    std::thread thread;

    mutable std::mutex mutex;
    QList<QByteArray> fields;
    QByteArray received;
    QByteArray sent;
    int downloads = 0;
    bool hungUp = false;

    std::atomic<State> state = State::Idle;  // read by isIdle() from other threads
    QList<QByteArray> pieces;
    QByteArray piece;
    Clock::time_point receiveLineFree{};
    Clock::time_point sendLineFree{};

    void run();
    bool waitUntil(Clock::time_point when);
    void take(unsigned char byte);
    void send(const QByteArray &bytes);
    bool countAndMaybeHangUp();
    void hangUp();
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
    d->master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->master < 0 || ::grantpt(d->master) != 0 || ::unlockpt(d->master) != 0) {
        d->error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(qt_error_string(errno));
        stop();
        return false;
    }
    char name[128] = {};
    ::ptsname_r(d->master, name, sizeof name);
    d->slavePath = QString::fromLocal8Bit(name);
    d->slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->slaveKeeper < 0) {
        d->error = QStringLiteral("cannot open %1: %2").arg(d->slavePath, qt_error_string(errno));
        stop();
        return false;
    }
    termios tio{};
    ::tcgetattr(d->slaveKeeper, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(d->slaveKeeper, TCSANOW, &tio);

    if (!d->options.linkPath.isEmpty()) {
        QFile::remove(d->options.linkPath);
        if (!QFile::link(d->slavePath, d->options.linkPath)) {
            d->error = QStringLiteral("cannot create the link %1").arg(d->options.linkPath);
            stop();
            return false;
        }
    }
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
    if (!d->options.linkPath.isEmpty() && QFile::symLinkTarget(d->options.linkPath) == d->slavePath)
        QFile::remove(d->options.linkPath);
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
    return d->state == Engine::State::Idle;
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
        unsigned char buffer[256];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            return;
        }
        // The host's bytes arrive one line time apart, starting when the line
        // was free; late wake-ups must not add up.
        const auto readAt = Clock::now();
        receiveLineFree = std::max(receiveLineFree, readAt);
        for (ssize_t i = 0; i < got && master >= 0; ++i) {
            if (options.paced) {
                receiveLineFree += ByteTime;
                if (!waitUntil(receiveLineFree))
                    return;
            }
            {
                std::lock_guard lock(mutex);
                received.append(char(buffer[i]));
            }
            if (options.onByte)
                options.onByte(true, buffer[i]);
            if (!countAndMaybeHangUp())
                return;
            take(buffer[i]);
        }
        if (master < 0)
            return;
    }
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

void ModuleSimulator::Engine::take(unsigned char byte)
{
    switch (state.load()) {
    case State::Idle:
        if (byte == '~')
            state = State::Request;
        return;
    case State::Request:
        state = State::Idle;
        if (byte == '~') {
            state = State::Request;
        } else if (byte == '}') {
            state = State::Download;
            pieces.clear();
            piece.clear();
            if (!options.silent)
                send(options.readyReply);
        } else if (byte == static_cast<unsigned char>(options.uploadCommand) && !options.silent) {
            QByteArray answer;
            if (options.scriptedAnswer) {
                answer = *options.scriptedAnswer;
            } else {
                std::lock_guard lock(mutex);
                answer = ModuleSimulator::uploadAnswer(fields, options.preamble);
            }
            send(answer);
        }
        return;
    case State::Download:
        if (byte != '\r') {
            if (piece.size() < MaxPieceBytes)
                piece.append(char(byte));
            return;
        }
        pieces.append(piece);
        piece.clear();
        if (pieces.size() == FieldCount) {
            storePieces();
            state = State::Idle;
            if (!options.silent)
                send(options.ackReply);
        }
        return;
    }
}

void ModuleSimulator::Engine::storePieces()
{
    std::lock_guard lock(mutex);
    for (int i = 0; i < FieldCount; ++i)
        fields[i] = fitField(pieces[i]);
    ++downloads;
}

void ModuleSimulator::Engine::send(const QByteArray &bytes)
{
    sendLineFree = std::max(sendLineFree, Clock::now());
    const auto interval = options.byteIntervalMs > 0 ? std::chrono::microseconds(options.byteIntervalMs * 1000)
                        : options.paced               ? ByteTime
                                                      : std::chrono::microseconds(0);
    for (char c : bytes) {
        if (master < 0)
            return;
        if (interval.count() > 0) {
            sendLineFree += interval;
            if (!waitUntil(sendLineFree))
                return;
        }
        // Noted before it goes, so whoever has read it also finds it here.
        {
            std::lock_guard lock(mutex);
            sent.append(c);
        }
        pollfd p{master, POLLOUT, 0};
        while (::write(master, &c, 1) != 1) {
            if (errno != EAGAIN && errno != EINTR)
                return;
            ::poll(&p, 1, 100);
        }
        if (options.onByte)
            options.onByte(false, static_cast<unsigned char>(c));
        if (!countAndMaybeHangUp())
            return;
    }
}

// False once the line has carried the bytes the hang-up fault allows.
bool ModuleSimulator::Engine::countAndMaybeHangUp()
{
    if (options.hangUpAfter < 0)
        return true;
    std::unique_lock lock(mutex);
    if (received.size() + sent.size() < options.hangUpAfter)
        return true;
    lock.unlock();
    hangUp();
    return false;
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
