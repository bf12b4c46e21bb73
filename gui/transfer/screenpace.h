#pragma once

#include <QElapsedTimer>

// How often a progress bar is worth redrawing: at the screen's pace, not at
// the line's. Each byte asks; about sixty times a second the answer is yes.
class ScreenPace
{
public:
    bool due()
    {
        if (m_frame.isValid() && !m_frame.hasExpired(FrameMs))
            return false;
        m_frame.start();
        return true;
    }

private:
    static constexpr int FrameMs = 16;
    QElapsedTimer m_frame;
};
