#pragma once

// Runs the window's download and accepts its dialog once the dialog has an
// outcome; the outcome's text.

#include "gui/mainwindow.h"
#include "modal.h"
#include "windowjob.h"
#include "gui/transfer/dload.h"

#include <QLabel>

inline QString downloadAndAccept(MainWindow &window)
{
    QString status;
    ModalDriver driver([&status](QWidget *modal) {
        auto *dialog = qobject_cast<dload *>(modal);
        if (!dialog || dialog->statusLabel()->text() == QStringLiteral("Betöltés..."))
            return false;
        status = dialog->statusLabel()->text();
        dialog->accept();
        return true;
    });
    window.download();
    if (!jobEnds(window))
        return QStringLiteral("(the download did not end)");
    return status;
}
