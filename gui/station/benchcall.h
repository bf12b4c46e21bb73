#pragma once

#include <QWidget>

#include <functional>

// How the station calls the technician when a port has finished or the
// manifest is done: the window asks for attention (the task bar flashes) and
// the desktop's bell sounds; each can be switched off. The alert is the
// platform's call, QApplication::alert, unless a test watches it.
class BenchCall
{
public:
    using Alert = std::function<void(QWidget *window)>;

    explicit BenchCall(QWidget *window);

    void setAttention(bool on) { m_attention = on; }
    void setSound(bool on) { m_sound = on; }
    void setAlert(Alert alert) { m_alert = std::move(alert); }
    void call();

private:
    QWidget *m_window;
    Alert m_alert;
    bool m_attention = true;
    bool m_sound = true;
};
