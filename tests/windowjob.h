#pragma once

// The window's transfer and journal slots start a job and return at once;
// a test waits for the job's end, its dialogs and boxes included.

#include "gui/mainwindow.h"

#include <QTest>

inline bool jobEnds(const MainWindow &window, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&window] { return !window.isBusy(); }, timeoutMs);
}
