#include "journalclock.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

// Read from the kernel itself (/proc/uptime, the boot clock in hundredths
// of a second) rather than through the C library, which a tool that fakes
// the time (faketime) replaces for the process; clock_gettime only where
// /proc is not mounted.
qint64 bootClockMs()
{
    const int fd = ::open("/proc/uptime", O_RDONLY | O_CLOEXEC);
    char text[64] = {};
    const ssize_t n = fd >= 0 ? ::read(fd, text, sizeof text - 1) : -1;
    if (fd >= 0)
        ::close(fd);
    long seconds = 0;
    int hundredths = 0;
    if (n > 0 && std::sscanf(text, "%ld.%2d", &seconds, &hundredths) == 2)
        return qint64(seconds) * 1000 + hundredths * 10;
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

namespace {

class BootClock : public JournalClock
{
public:
    qint64 nowMs() const override { return bootClockMs(); }
};

} // namespace

const JournalClock &JournalClock::boot()
{
    static const BootClock clock;
    return clock;
}
