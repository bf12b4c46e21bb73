#include "standardoutput.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace StandardOutput {

namespace {
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
    return !closedAtStart && !failure;
}

bool write(const QByteArray &bytes)
{
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
    if (!failure && !closedAtStart && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        failure = FileError::system(errno ? errno : EIO);
    return failure;
}

} // namespace StandardOutput
