#pragma once

// Waking a wait that has truly begun: a test that wakes a read first looks
// for its thread asleep in the kernel, so that the wake-up cannot come before
// the wait and pass for a working one.

#include "core/link/seriallink.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <atomic>
#include <functional>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

inline bool isAsleep(pid_t thread)
{
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(thread));
    if (thread <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd > 0 && line.size() > nameEnd + 2 && line.at(nameEnd + 2) == 'S';
}

// Reads a byte from `link` on a thread of its own and calls `wake` once that
// read waits. How long the read took, or -1 when it brought a byte.
inline qint64 wokenReadMs(SerialLink &link, const std::function<void()> &wake)
{
    std::atomic<pid_t> reader = 0;
    qint64 waited = -1;
    std::thread read([&] {
        reader = ::gettid();
        QElapsedTimer clock;
        clock.start();
        if (!link.readByte())
            waited = clock.elapsed();
    });
    const bool asleep = QTest::qWaitFor([&] { return isAsleep(reader); }, 5000);
    wake();
    read.join();
    return asleep ? waited : -1;
}
