#pragma once

#include <thread>

// Loading fontconfig's configuration and font caches is the largest single
// cost of starting up, and it needs neither Qt nor the display. Created before
// QApplication, this loads it on a helper thread while Qt connects to the
// display; wait() joins before the first widget asks for a font, so Qt finds
// the configuration ready instead of loading it a second time.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp() { wait(); }

    void wait();

private:
    std::thread m_thread;
};
