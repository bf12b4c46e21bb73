#pragma once

// A CUPS server of the test's own: cupsd in the foreground with its
// configuration, spool and socket in a temporary folder, and a queue whose
// device writes each job to a file of its own there. Debian's cups-daemon
// brings cupsd; clients reach it through CUPS_SERVER, which start() sets.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

class CupsServer
{
public:
    CupsServer()
    {
        if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd"))) {
            m_error = QStringLiteral("cupsd is not installed (Debian's cups-daemon package)");
            return;
        }
        const QString root = m_dir.path();
        ::chmod(QFile::encodeName(root).constData(), 0755);  // cupsd's jobs run as lp under root
        for (const char *folder : {"spool", "tmp", "cache", "state", "ppd", "bin/backend", "jobs"})
            QDir(root).mkpath(QLatin1String(folder));
        for (const char *link : {"filter", "daemon", "cgi-bin", "notifier", "monitor"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(link), root + QStringLiteral("/bin/") + QLatin1String(link));
        write(QStringLiteral("bin/backend/tofile"),
              "#!/bin/sh\n[ $# -eq 0 ] && { echo 'file tofile \"Unknown\" \"Job to a file\"'; exit 0; }\n"
              "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > \"${DEVICE_URI#tofile:}/job-$1.pdf\"\n", 0755);
        // Anyone on the socket may do anything: only the test reaches it.
        write(QStringLiteral("cupsd.conf"), QStringLiteral("Listen %1/cups.sock\nLogLevel warn\nWebInterface No\nDefaultAuthType None\n"
                                                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                                           "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
                                                           "</Policy>\n").arg(root).toUtf8(), 0644);
        // Under root, cupsd runs its jobs as lp, which must reach the spool.
        const QByteArray user = ::geteuid() == 0 ? "User lp\nGroup lp\n" : "";
        write(QStringLiteral("cups-files.conf"),
              QStringLiteral("ServerRoot %1\nServerBin %1/bin\nDataDir /usr/share/cups\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                             "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/error_log\nAccessLog %1/access_log\n"
                             "PageLog %1/page_log\nSandboxing Relaxed\n").arg(root).toUtf8() + user, 0644);
        ::chmod(QFile::encodeName(jobFolder()).constData(), 0777);
        if (::geteuid() == 0)
            QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("lp:lp"), root + "/spool", root + "/tmp",
                                                        root + "/cache", root + "/state"});
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"), {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        for (int i = 0; i < 100 && !QFile::exists(socket()); ++i)
            QThread::msleep(50);
        if (!QFile::exists(socket())) {
            m_error = QStringLiteral("cupsd did not start: ") + QString::fromLocal8Bit(m_cupsd.readAllStandardError());
            return;
        }
        qputenv("CUPS_SERVER", QFile::encodeName(socket()));
        // lpadmin lives in /usr/sbin, which an ordinary login's PATH leaves out.
        const QString lpadmin = QStringLiteral("/usr/sbin/lpadmin");
        if (!QFile::exists(lpadmin))
            m_error = QStringLiteral("lpadmin is not installed (Debian's cups-client package)");
        else if (QProcess::execute(lpadmin, {"-h", socket(), "-p", "labels", "-E", "-v", "tofile:" + jobFolder(), "-m", "raw"}) != 0)
            m_error = QStringLiteral("lpadmin did not make the queue");
    }
    ~CupsServer()
    {
        m_cupsd.terminate();
        m_cupsd.waitForFinished(10000);
    }
    CupsServer(const CupsServer &) = delete;
    CupsServer &operator=(const CupsServer &) = delete;

    // Empty once the server runs with its queue "labels"; why not otherwise.
    const QString &error() const { return m_error; }
    QString socket() const { return m_dir.filePath(QStringLiteral("cups.sock")); }
    // Where the queue puts each job: job-<id>.pdf.
    QString jobFolder() const { return m_dir.filePath(QStringLiteral("jobs")); }

private:
    void write(const QString &name, const QByteArray &bytes, int mode)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        ::chmod(QFile::encodeName(file.fileName()).constData(), mode_t(mode));
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_error;
};
