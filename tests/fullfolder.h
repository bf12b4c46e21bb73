#pragma once

// A folder on a small file system of its own that has filled up, as a disk
// does: a file put there first keeps its bytes, and every later write fails
// with ENOSPC. Made with a tmpfs mount, which the tests may do as root.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// What only root may do here is skipped, saying so, for anyone else; CI runs
// the tests as root and fails when any is skipped.
#define REQUIRE_ROOT(what) \
    do { \
        if (::geteuid() != 0) \
            QSKIP("needs root: " what); \
    } while (false)

class FullFolder
{
public:
    enum class Fill { Now, Later };

    // `keep` is written as "kept.t16" before the folder fills up; with
    // Fill::Later, the folder fills when fill() is called.
    explicit FullFolder(const QByteArray &keep, Fill when = Fill::Now, const char *size = "size=64k")
    {
        m_path = m_dir.filePath(QStringLiteral("full"));
        const QByteArray path = QFile::encodeName(m_path);
        if (::mkdir(path.constData(), 0755) != 0 || ::mount("tmpfs", path.constData(), "tmpfs", 0, size) != 0) {
            m_error = QStringLiteral("cannot mount a tmpfs at %1: %2").arg(m_path, QString::fromLocal8Bit(strerror(errno)));
            return;
        }
        m_mounted = true;
        QFile kept(filePath(QStringLiteral("kept.t16")));
        if (!kept.open(QIODevice::WriteOnly) || kept.write(keep) != keep.size() || !kept.flush())
            m_error = QStringLiteral("cannot write the kept file");
        kept.close();
        if (when == Fill::Now)
            fill();
    }
    ~FullFolder()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    FullFolder(const FullFolder &) = delete;
    FullFolder &operator=(const FullFolder &) = delete;

    void fill()
    {
        const int filler = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(), O_WRONLY | O_CREAT, 0644);
        const QByteArray block(4096, 'x');
        while (filler >= 0 && ::write(filler, block.constData(), size_t(block.size())) > 0) {}
        if (filler < 0 || errno != ENOSPC)
            m_error = QStringLiteral("the tmpfs did not fill up");
        ::close(filler);
    }
    // Room again, as when a technician clears the disk.
    void drain() { QFile::remove(filePath(QStringLiteral("filler"))); }

    // Empty when the folder is ready; why not otherwise.
    const QString &error() const { return m_error; }
    const QString &path() const { return m_path; }
    QString filePath(const QString &name) const { return m_path + QLatin1Char('/') + name; }
    QByteArray kept() const
    {
        QFile file(filePath(QStringLiteral("kept.t16")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    bool m_mounted = false;
};
