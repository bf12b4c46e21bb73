#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// While a job runs (a transfer, a look at the journal), the window takes no
// keys, clicks or shortcuts: a second job, a form cleared or a port changed
// under a running exchange must not start from a key or a menu. The job's
// own dialogs are windows of their own and keep their input (Cancel, Escape).
class InputHold : public QObject
{
public:
    explicit InputHold(QWidget *window);
    ~InputHold() override;
    InputHold(const InputHold &) = delete;
    InputHold &operator=(const InputHold &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isHeld(const QObject *watched) const;

    QPointer<QWidget> m_window;
};
