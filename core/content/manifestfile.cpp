#include "manifestfile.h"

#include "core/storage/streamread.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ManifestBytes refused(ManifestBytes::Problem problem, int error = 0)
{
    ManifestBytes manifest;
    manifest.problem = problem;
    manifest.error = error;
    return manifest;
}

ManifestBytes fromStream(int fd)
{
    StreamRead read = readStream(fd, ManifestBytes::MaxBytes);
    if (read.error)
        return refused(ManifestBytes::Problem::Unreadable, read.error);
    if (read.tooLarge)
        return refused(ManifestBytes::Problem::TooLarge);
    ManifestBytes manifest;
    manifest.bytes = std::move(read.bytes);
    return manifest;
}

} // namespace

ManifestBytes readManifestBytes(const QString &path)
{
    if (path == QLatin1String("-"))
        return fromStream(STDIN_FILENO);
    // O_NONBLOCK: a FIFO is not waited on before it is refused.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refused(ManifestBytes::Problem::Unreadable, errno);
    struct stat status {};
    ManifestBytes manifest;
    if (::fstat(fd, &status) != 0)
        manifest = refused(ManifestBytes::Problem::Unreadable, errno);
    else if (!S_ISREG(status.st_mode))
        manifest = refused(ManifestBytes::Problem::NotRegularFile);
    else if (status.st_size > ManifestBytes::MaxBytes)
        manifest = refused(ManifestBytes::Problem::TooLarge);
    else
        manifest = fromStream(fd);
    ::close(fd);
    return manifest;
}
