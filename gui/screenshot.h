#pragma once

#include <QString>

class QWidget;

// Saves a picture of the window as soon as it is first painted, then ends
// the program: for the pictures in the documentation, and to show that an
// installed copy starts and draws its form.
void saveScreenshotOnFirstPaint(QWidget *window, const QString &path);
