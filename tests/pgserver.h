#pragma once

// A PostgreSQL server of the test's own: a fresh cluster in a temporary
// folder, run by the test's own user or, under root (which the server
// refuses), by nobody; reached through a socket in that folder only, or
// over loopback TCP where a network's round trips are what is measured.
// Debian's postgresql-15 package brings initdb and pg_ctl.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

class PostgresServer
{
public:
    enum class Reach { Socket, Loopback };

    explicit PostgresServer(Reach reach = Reach::Socket)
    {
        if (reach == Reach::Loopback)
            m_tcpPort = freeLoopbackPort();
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        if (versions.isEmpty()) {
            m_error = QStringLiteral("PostgreSQL is not installed (Debian's postgresql package)");
            return;
        }
        m_bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(versions.last());
        if (::geteuid() == 0 && ::chown(QFile::encodeName(m_dir.path()).constData(), 65534, 65534) != 0) {  // nobody
            m_error = QStringLiteral("cannot hand the folder to nobody");
            return;
        }
        const QString data = m_dir.filePath(QStringLiteral("data"));
        if (!run(QStringLiteral("initdb"), {"-D", data, "-U", "tavir", "--auth=trust", "-E", "UTF8", "--locale=C"}) || !start())
            return;
        run(QStringLiteral("createdb"), clientOptions() + QStringList{"tavir340"});
    }
    ~PostgresServer() { stop(); }
    bool start()
    {
        const QString listen = m_tcpPort ? QStringLiteral(" -c listen_addresses=127.0.0.1 -p %1").arg(m_tcpPort)
                                         : QStringLiteral(" -c listen_addresses=''");
        m_started = run(QStringLiteral("pg_ctl"), {"-D", m_dir.filePath("data"), "-l", m_dir.filePath("log"), "-w", "-o",
                                                   "-k " + m_dir.path() + listen + " -c fsync=off", "start"});
        return m_started;
    }
    // Every client's session ended by the server, as an administrator would.
    bool terminateSessions()
    {
        return run(QStringLiteral("psql"), clientOptions() + QStringList{"-d", "tavir340", "-c",
                                            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                                            " WHERE datname = 'tavir340' AND pid <> pg_backend_pid()"});
    }
    // The server and every process of it stopped (SIGSTOP), as a hung
    // machine would be, or let go on (SIGCONT): the postmaster first, so
    // that it starts no session meanwhile, then each of its children, every
    // session's backend among them (each leads a session of its own, so the
    // postmaster's process group does not hold them).
    bool freeze(bool frozen)
    {
        QFile pidFile(m_dir.filePath(QStringLiteral("data/postmaster.pid")));
        const pid_t postmaster = pidFile.open(QIODevice::ReadOnly) ? pid_t(pidFile.readLine().trimmed().toLong()) : 0;
        if (postmaster <= 0)
            return false;
        // The postmaster stops first and goes on last, so that it forks no
        // backend the list misses; a child that has ended meanwhile is fine.
        const int signal = frozen ? SIGSTOP : SIGCONT;
        bool sent = !frozen || ::kill(postmaster, signal) == 0;
        for (const pid_t child : childrenOf(postmaster))
            sent = (::kill(child, signal) == 0 || errno == ESRCH) && sent;
        return (frozen || ::kill(postmaster, signal) == 0) && sent;
    }
    // A psql script run as `user` on `database`, stopping at its first error.
    bool script(const QByteArray &sql, const QString &user, const QString &database)
    {
        QStringList options = clientOptions();
        options[options.indexOf(QStringLiteral("-U")) + 1] = user;
        return run(QStringLiteral("psql"), options + QStringList{"-v", "ON_ERROR_STOP=1", "-q", "-d", database}, sql);
    }
    // One value, as the cluster's own user reads it.
    QByteArray query(const QByteArray &sql, const QString &database)
    {
        QByteArray value;
        run(QStringLiteral("psql"), clientOptions() + QStringList{"-X", "-tA", "-d", database, "-c", QString::fromUtf8(sql)}, {}, &value);
        return value;
    }
    // Gone at once, as a server that fails.
    void stop()
    {
        if (m_started)
            run(QStringLiteral("pg_ctl"), {"-D", m_dir.filePath("data"), "-m", "immediate", "-w", "stop"});
        m_started = false;
    }
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // The loopback port of a server reached over TCP.
    int tcpPort() const { return m_tcpPort; }
    // Empty once the server runs; why not otherwise.
    const QString &error() const { return m_error; }
    // The journal's address on this server.
    QString address(const QString &database = QStringLiteral("tavir340")) const
    {
        if (m_tcpPort)
            return QStringLiteral("postgresql://tavir@127.0.0.1:%1/%2").arg(m_tcpPort).arg(database);
        return QStringLiteral("postgresql://tavir@/%1?host=%2").arg(database, m_dir.path());
    }

private:
    // The server's socket is named by its port, the default one unless TCP.
    QStringList clientOptions() const
    {
        QStringList options = {"-h", m_dir.path(), "-U", "tavir"};
        if (m_tcpPort)
            options << "-p" << QString::number(m_tcpPort);
        return options;
    }

    static QList<pid_t> childrenOf(pid_t parent)
    {
        QList<pid_t> children;
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const pid_t pid = pid_t(entry.toLong(&number));
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!number || !stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && fields[1].toLong() == parent)
                children << pid;
        }
        return children;
    }

    static int freeLoopbackPort()
    {
        const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        const bool bound = ::bind(probe, reinterpret_cast<sockaddr *>(&address), length) == 0
                        && ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length) == 0;
        ::close(probe);
        return bound ? ntohs(address.sin_port) : 54340;
    }

    bool run(const QString &program, const QStringList &arguments, const QByteArray &input = {}, QByteArray *output = nullptr)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        const QString binary = m_bin + program;
        if (::geteuid() == 0)
            process.start(QStringLiteral("/usr/sbin/runuser"), QStringList{"-u", "nobody", "--", binary} + arguments);
        else
            process.start(binary, arguments);
        process.write(input);
        process.closeWriteChannel();
        const bool finished = process.waitForFinished(60000);
        if (output)
            *output = process.readAllStandardOutput().trimmed();
        if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return true;
        if (m_error.isEmpty())
            m_error = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return false;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_error;
    int m_tcpPort = 0;
    bool m_started = false;
};
