#pragma once

// Drives the real modal dialogs and message boxes a slot opens: a timer looks
// at the active modal widget while the slot's own event loop runs, records
// what it shows and answers it.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

struct SeenBox
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QString details;
};

// Calls `handler` with each modal widget that becomes active, over and over
// while it stays active, until the handler returns true for it.
class ModalDriver : public QObject
{
public:
    using Handler = std::function<bool(QWidget *modal)>;

    explicit ModalDriver(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::look);
        m_timer.start(2);
    }

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_done)
            return;
        if (m_handler(modal))
            m_done = modal;
    }

    Handler m_handler;
    QTimer m_timer;
    QPointer<QWidget> m_done;
};

// Answers every message box with its OK button (a question about unsaved
// work with `question`) and keeps what each said.
// Other modal widgets go to `other`, when given.
class MessageBoxRecorder : public ModalDriver
{
public:
    explicit MessageBoxRecorder(Handler other = {})
        : ModalDriver([this, other](QWidget *modal) {
              auto *box = qobject_cast<QMessageBox *>(modal);
              if (!box)
                  return other ? other(modal) : false;
              const SeenBox seen = {box->icon(), box->windowTitle(), box->text(), box->standardButtons(), box->detailedText()};
              if (!box->button(QMessageBox::Ok)) {
                  questions.append(seen);
                  box->button(question)->click();
                  return true;
              }
              boxes.append(seen);
              if (beforeAnswer)
                  beforeAnswer(box);
              box->button(QMessageBox::Ok)->click();
              return true;
          })
    {
    }

    QList<SeenBox> boxes;
    QList<SeenBox> questions;  // about unsaved work, kept apart
    std::function<void(QMessageBox *)> beforeAnswer;  // runs while the box is up
    QMessageBox::StandardButton question = QMessageBox::Discard;  // the answer to a box without OK
};
