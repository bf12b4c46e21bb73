#pragma once

#include <QString>

// A process as a claim names it: its station (the host's name), its number,
// when it started (in clock ticks since boot) and the boot it runs in. A
// number alone is not enough: numbers are used again, after a reboot or
// once a process has ended.
struct ProcessIdentity
{
    QString station;
    qint64 pid = 0;
    QString start;   // /proc/PID/stat's start time
    QString bootId;  // /proc/sys/kernel/random/boot_id

    // This process.
    static ProcessIdentity self();
    // The same process: the same station, number, start and boot.
    bool operator==(const ProcessIdentity &other) const = default;
    // Whether this process is provably gone: it ran on this station in this
    // boot, and no process of that number and start time runs now. A process
    // of another station or boot can be neither seen nor ruled out.
    bool provablyGone() const;
};

// This machine's name, as journal entries, claims and lock files give it.
QString stationName();

// When a process of this machine started, or empty when there is none.
QString processStart(qint64 pid);
