#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// The window's tool windows: About, Help and the station. Each stays, hidden
// once closed, until the window goes; asked for again, the one there is
// comes back to the front rather than a second one opening.
class ToolWindows
{
public:
    explicit ToolWindows(QWidget *window) : m_window(window) {}

    void showAbout();
    void showHelp();
    // `make` builds the station the first time: from the form as it is then.
    void showStation(const std::function<QWidget *()> &make);

private:
    static void show(QPointer<QWidget> &tool, const std::function<QWidget *()> &make);

    QWidget *m_window;
    QPointer<QWidget> m_about;
    QPointer<QWidget> m_help;
    QPointer<QWidget> m_station;
};
