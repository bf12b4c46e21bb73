#include "fontconfigwarmup.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontConfigWarmUp::FontConfigWarmUp()
{
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when it first
        // needs a font, as it would without this class.
    }
}

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
