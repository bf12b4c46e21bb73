#pragma once

#include <QtGlobal>

// The clock that leases are measured on where the database gives none (a
// SQLite journal lives on one machine): the time since boot, suspend
// included (CLOCK_BOOTTIME). Every process of the machine shares it, and it
// never jumps when someone sets the date, so a station whose wall clock is
// wrong still judges a lease right. Its readings mean something only within
// one boot, which is why a claim keeps the boot it was taken in. Its
// resolution is 10 ms.
qint64 bootClockMs();

// The clock a run's leases, renewals, fences and retries are read on: the
// boot clock, or in a test one it sets by hand, so that a lease of a minute
// runs out in a millisecond.
class JournalClock
{
public:
    virtual ~JournalClock() = default;
    virtual qint64 nowMs() const = 0;
    // The boot clock, every run's.
    static const JournalClock &boot();
};
