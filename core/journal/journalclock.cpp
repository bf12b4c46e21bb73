#include "journalclock.h"

#include <ctime>

qint64 bootClockMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
