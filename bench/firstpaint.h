#pragma once

// Shared by the start-up probes: when the window is first painted, print the
// wall-clock time and the peak memory so far, then quit.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(this, [] { report(); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void report()
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("painted %lld maxrss_kb %ld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, usage.ru_maxrss);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_seen = false;
};
