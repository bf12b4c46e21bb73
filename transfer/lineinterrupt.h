#pragma once

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
    int fd() const { return m_fd; }  // readable once triggered

private:
    int m_fd = -1;
};
