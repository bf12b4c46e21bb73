#include "streamread.h"

#include <cerrno>
#include <unistd.h>

StreamRead readStream(int fd, qint64 limit)
{
    StreamRead read;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            read.error = errno;
            return read;
        }
        if (got == 0)
            return read;
        read.bytes.append(buffer, got);
        if (read.bytes.size() > limit) {
            read.tooLarge = true;
            return read;
        }
    }
}
