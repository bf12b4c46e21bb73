#pragma once

#include <atomic>
#include <functional>

// A wake-up call for a serial link that another thread is waiting on. Once
// triggered, every wait of a link that uses it ends at once and no further byte
// is written: this is how a download is abandoned without waiting out a
// 5-second read.
//
// A fenced interrupt follows another one (the technician's, for every port)
// and also counts as triggered once its fence says the work may no longer
// go on (a unit's claim that is no longer this run's): the link then sends
// nothing more, before its next byte.
class LineInterrupt
{
public:
    using Fence = std::function<bool()>;  // true while the work may go on

    LineInterrupt();
    LineInterrupt(const LineInterrupt *follows, Fence fence);
    ~LineInterrupt();
    LineInterrupt(const LineInterrupt &) = delete;
    LineInterrupt &operator=(const LineInterrupt &) = delete;

    void trigger();          // safe from any thread
    bool isTriggered() const;
    // Triggered by its fence alone, not by the technician.
    bool isFenced() const { return m_fence && !m_fence(); }
    void reset();            // ready for another use
    // Readable once triggered; -1 when the system gave us no descriptor, and
    // waiters must then look at isTriggered() now and then instead. A fenced
    // interrupt wakes waiters through the one it follows; its fence is seen
    // between waits.
    int fd() const { return m_follows ? m_follows->fd() : m_fd; }

private:
    int m_fd = -1;
    std::atomic<bool> m_triggered = false;
    const LineInterrupt *m_follows = nullptr;
    Fence m_fence;
};
