#pragma once

#include <atomic>

// A wake-up call for a serial link that another thread is waiting on. Once
// triggered, every wait of a link that uses it ends at once and no further byte
// is written: this is how a download is abandoned without waiting out a
// 5-second read.
class LineInterrupt
{
public:
    LineInterrupt();
    ~LineInterrupt();
    LineInterrupt(const LineInterrupt &) = delete;
    LineInterrupt &operator=(const LineInterrupt &) = delete;

    void trigger();          // safe from any thread
    bool isTriggered() const;
    void reset();            // ready for another use
    // Readable once triggered; -1 when the system gave us no descriptor, and
    // waiters must then look at isTriggered() now and then instead.
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    std::atomic<bool> m_triggered = false;
};
