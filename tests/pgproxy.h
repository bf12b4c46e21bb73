#pragma once

// A proxy in front of a PostgreSQL server over loopback TCP, for the faults
// of a network between a station and its journal. It hands every byte on,
// and reads the statements each client sends (the simple protocol, which
// Qt's driver speaks: BEGIN, PREPARE, EXECUTE, COMMIT), so that on cue it
// can, at the n-th transaction that holds a given statement,
// - let the COMMIT through and then drop the connection: the server has
//   taken the transaction, the client never hears so; or
// - before the transaction goes on, drop every connection and turn every new
//   one away for a while: an outage.

#include <QByteArray>
#include <QtEndian>
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class PgProxy
{
public:
    explicit PgProxy(int serverPort)
        : m_serverPort(serverPort)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listener, 16) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_accepting = std::thread([this] { accept(); });
    }
    ~PgProxy()
    {
        m_stopping = true;
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        if (m_accepting.joinable())
            m_accepting.join();
        dropAll();
        for (std::thread &relay : m_relays)
            relay.join();
    }
    PgProxy(const PgProxy &) = delete;
    PgProxy &operator=(const PgProxy &) = delete;

    QString address(const QString &database = QStringLiteral("tavir340")) const
    {
        return QStringLiteral("postgresql://tavir@127.0.0.1:%1/%2").arg(m_port).arg(database);
    }
    // The n-th transaction that holds `statement`: its COMMIT reaches the
    // server, its answer never reaches the client.
    void loseCommitAnswer(const QByteArray &statement, int nth) { cue(statement, nth, 0); }
    // From the n-th transaction that holds `statement` on, for `ms`: every
    // connection dropped, every new one turned away.
    void outage(const QByteArray &statement, int nth, int ms) { cue(statement, nth, ms); }
    // Whether the cue came.
    bool struck() const { return m_struck; }

private:
    struct Connection
    {
        int client = -1;
        int server = -1;
        QByteArray pending;     // from the client, not yet read as messages
        bool started = false;   // past the startup packet
        QByteArray transaction; // the statements of the one under way
        bool counted = false;   // the cue's statement counted in it
    };

    static sockaddr_in loopback(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(quint16(port));
        return address;
    }

    void cue(const QByteArray &statement, int nth, int ms)
    {
        const std::lock_guard lock(m_mutex);
        m_statement = statement;
        m_nth = nth;
        m_outageMs = ms;
        m_seen = 0;
    }

    bool refusing()
    {
        const std::lock_guard lock(m_mutex);
        return std::chrono::steady_clock::now() < m_refuseUntil;
    }

    void accept()
    {
        while (!m_stopping) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0)
                return;
            if (refusing()) {
                ::close(client);
                continue;
            }
            auto connection = std::make_shared<Connection>();
            connection->client = client;
            connection->server = ::socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in server = loopback(m_serverPort);
            if (::connect(connection->server, reinterpret_cast<const sockaddr *>(&server), sizeof server) != 0) {
                ::close(client);
                ::close(connection->server);
                continue;
            }
            const std::lock_guard lock(m_mutex);
            m_connections.push_back(connection);
            m_relays.emplace_back([this, connection] { relay(*connection); });
        }
    }

    void dropAll()
    {
        const std::lock_guard lock(m_mutex);
        for (const auto &connection : m_connections) {
            ::shutdown(connection->client, SHUT_RDWR);
            ::shutdown(connection->server, SHUT_RDWR);
        }
    }

    void relay(Connection &c)
    {
        char buffer[16384];
        for (;;) {
            pollfd fds[2] = {{c.client, POLLIN, 0}, {c.server, POLLIN, 0}};
            if (::poll(fds, 2, -1) <= 0)
                break;
            if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::read(c.server, buffer, sizeof buffer);
                if (n <= 0 || !sendAll(c.client, buffer, n))
                    break;
            }
            if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::read(c.client, buffer, sizeof buffer);
                if (n <= 0 || !fromClient(c, QByteArray(buffer, int(n))))
                    break;
            }
        }
        ::shutdown(c.client, SHUT_RDWR);
        ::shutdown(c.server, SHUT_RDWR);
        ::close(c.client);
        ::close(c.server);
    }

    static bool sendAll(int fd, const char *data, qsizetype size)
    {
        while (size > 0) {
            const ssize_t n = ::send(fd, data, size_t(size), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            data += n;
            size -= n;
        }
        return true;
    }

    // The client's bytes, message by message; false once the connection is
    // to be dropped.
    bool fromClient(Connection &c, const QByteArray &bytes)
    {
        c.pending += bytes;
        for (;;) {
            const int header = c.started ? 5 : 4;
            if (c.pending.size() < header)
                return true;
            const qint32 length = qint32(qFromBigEndian<quint32>(c.pending.constData() + header - 4));
            const qsizetype whole = header - 4 + length;
            if (c.pending.size() < whole)
                return true;
            const QByteArray message = c.pending.left(whole);
            c.pending.remove(0, whole);
            if (!c.started) {
                const quint32 code = qFromBigEndian<quint32>(message.constData() + 4);
                c.started = code != 80877103u;  // an SSL request comes before the startup packet
            } else if (message[0] == 'Q') {
                const Cue cue = statement(c, message.mid(5));
                if (cue == Cue::Drop)
                    return false;
                if (cue == Cue::LoseAnswer) {
                    sendAll(c.server, message.constData(), message.size());
                    answered(c.server);  // taken by the server; the client hears nothing
                    return false;
                }
            }
            if (!sendAll(c.server, message.constData(), message.size()))
                return false;
        }
    }

    enum class Cue { Forward, Drop, LoseAnswer };

    // What becomes of a statement on its way to the server.
    Cue statement(Connection &c, const QByteArray &text)
    {
        if (text.startsWith("BEGIN")) {
            c.transaction.clear();
            c.counted = false;
        }
        c.transaction += text;
        std::unique_lock lock(m_mutex);
        if (m_statement.isEmpty() || m_struck)
            return Cue::Forward;
        if (!c.counted && c.transaction.contains(m_statement)) {
            c.counted = true;
            ++m_seen;
        }
        if (!c.counted || m_seen != m_nth)
            return Cue::Forward;
        if (m_outageMs > 0) {
            m_struck = true;
            m_refuseUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_outageMs);
            lock.unlock();
            dropAll();
            return Cue::Drop;
        }
        if (!text.startsWith("COMMIT"))
            return Cue::Forward;
        m_struck = true;
        return Cue::LoseAnswer;
    }

    // Reads the server's answer to the last query, up to its ReadyForQuery.
    static void answered(int server)
    {
        QByteArray got;
        char buffer[4096];
        while (!readyForQuery(got)) {
            pollfd fd = {server, POLLIN, 0};
            if (::poll(&fd, 1, 5000) <= 0)
                return;
            const ssize_t n = ::read(server, buffer, sizeof buffer);
            if (n <= 0)
                return;
            got.append(buffer, int(n));
        }
    }

    static bool readyForQuery(const QByteArray &answer)
    {
        for (qsizetype at = 0; at + 5 <= answer.size();) {
            if (answer[at] == 'Z')
                return true;
            at += 1 + qint32(qFromBigEndian<quint32>(answer.constData() + at + 1));
        }
        return false;
    }

    int m_serverPort;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_struck = false;
    std::mutex m_mutex;
    QByteArray m_statement;
    int m_nth = 0;
    int m_seen = 0;
    int m_outageMs = 0;
    std::chrono::steady_clock::time_point m_refuseUntil{};
    std::vector<std::shared_ptr<Connection>> m_connections;
    std::vector<std::thread> m_relays;
    std::thread m_accepting;
};
