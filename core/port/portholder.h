#pragma once

#include <QString>

#include <optional>

// Which process has a device: one named by a lock file, or one that has the
// device open without telling anybody.
namespace SerialDevice {

struct Holder
{
    qint64 pid = 0;
    QString program;  // empty where it cannot be read
};

// Whether a process of that number runs; one of another user's counts too.
// A process that has ended but not yet been reaped holds nothing.
bool isRunning(qint64 pid);
// The short name the system gives a running process ("minicom").
QString programOf(qint64 pid);
// Another process that has the device open, among those we may look into.
std::optional<Holder> processHolding(const QString &device);
// The same, leaving out a pseudo-terminal's keeper: the process that holds
// its master (/dev/ptmx, by the kernel's tty-index) as well, as a simulated
// module does. One that holds masters of other terminals (a terminal
// multiplexer) is a holder like any other.
std::optional<Holder> processUsing(const QString &pseudoTerminal);

} // namespace SerialDevice
