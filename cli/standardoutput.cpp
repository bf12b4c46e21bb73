#include "standardoutput.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace StandardOutput {

namespace {
std::mutex mutex;  // the exchange log writes from every port's thread
bool closedAtStart = false;
FileError failure;  // of a write that was tried
}

void guard()
{
    // A reader that went away makes a write fail with EPIPE instead of
    // ending the program before it has released its ports.
    std::signal(SIGPIPE, SIG_IGN);
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
        if (fd == STDOUT_FILENO)
            closedAtStart = true;
    }
}

bool isUsable()
{
    const std::lock_guard lock(mutex);
    return !closedAtStart && !failure;
}

bool write(const QByteArray &bytes)
{
    const std::lock_guard lock(mutex);
    if (closedAtStart && !failure)
        failure = FileError::system(EBADF);
    if (failure)
        return false;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) || std::fflush(stdout) != 0)
        failure = FileError::system(errno);
    return !failure;
}

FileError finish()
{
    const std::lock_guard lock(mutex);
    if (!failure && !closedAtStart && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        failure = FileError::system(errno ? errno : EIO);
    return failure;
}

} // namespace StandardOutput
