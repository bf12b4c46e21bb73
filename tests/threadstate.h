#pragma once

// Whether a thread of this process is asleep in the kernel: a wait that it
// has truly begun. A test that wants to wake a wait looks for this first, so
// that its wake-up cannot come before the wait.

#include <QByteArray>
#include <QFile>

#include <sys/types.h>

inline bool isAsleep(pid_t thread)
{
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(thread));
    if (thread <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd > 0 && line.size() > nameEnd + 2 && line.at(nameEnd + 2) == 'S';
}
