#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// While a transfer runs, the window takes no keys, clicks or shortcuts: a
// second transfer, a form cleared or a port changed under a running
// exchange must not start from a key or a menu. The transfer's own dialogs
// are windows of their own and keep their input (Cancel, Escape).
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
    QPointer<QWidget> m_window;
};
