#pragma once

#include "core/operations/moduleoperations.h"
#include "screenpace.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class LineInterrupt;
class QProgressDialog;
class QWidget;

// The read-up's and verify's progress dialog, made once the port is ours.
// The exchange runs on the transfer runner's thread and tells its progress
// here, where the dialog lives; Cancel and Escape trigger the exchange's
// interrupt, which ends it before its next byte. The dialog stays up until
// the outcome is known: it neither hides nor starts again at its end, however
// long the answer. One that has not shown itself by the time the answer is
// in never shows: the outcome's box is then the only window.
class AnswerProgress
{
public:
    AnswerProgress(QWidget *window, const QString &title, const QString &label, LineInterrupt &interrupt);
    ~AnswerProgress();
    AnswerProgress(const AnswerProgress &) = delete;
    AnswerProgress &operator=(const AnswerProgress &) = delete;

    void show();
    // One step per byte, short of the end until the answer is complete.
    void advance(int bytes);
    // The answer is complete: a full bar, if the bar is up at all.
    void finish();
    void close();

    // Told every value the bar is given, as it is given: what a test
    // watches instead of sampling the screen. None by default.
    static void setObserver(std::function<void(int value)> observer);

private:
    void showValue(int value);
    void noticeCancel();

    QWidget *m_window;
    QString m_title;
    QString m_label;
    LineInterrupt &m_interrupt;
    std::unique_ptr<QProgressDialog> m_dialog;
    QTimer m_watch;
    ScreenPace m_pace;
};

// The exchange's side: each start and byte told to the window's thread
// through `relay` (an object there that outlives the job), and the receive
// ended once the interrupt has been triggered.
class RelayedWatcher : public UploadWatcher
{
public:
    RelayedWatcher(QObject *relay, std::function<void()> started, std::function<void(int bytes)> received,
                   const LineInterrupt &interrupt);
    void started() override;
    bool received(int bytes) override;

private:
    QObject *m_relay;
    std::function<void()> m_started;
    std::function<void(int)> m_received;
    const LineInterrupt &m_interrupt;
};
