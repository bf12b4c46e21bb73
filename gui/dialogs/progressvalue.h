#pragma once

#include <QProgressBar>
#include <QProgressDialog>

// A modal progress dialog's setValue() serves the window's events inside
// itself once the dialog is up: a nested event loop, in which a job's end
// could close and delete the dialog under the call. Until the dialog shows,
// setValue() decides when it should (from how fast the value moves); once it
// is up, the value goes to its bar alone.
inline void setProgressValue(QProgressDialog &dialog, int value)
{
    if (!dialog.isVisible()) {
        dialog.setValue(value);
        return;
    }
    if (auto *bar = dialog.findChild<QProgressBar *>())
        bar->setValue(value);
}
