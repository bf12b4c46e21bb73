#include "toolwindows.h"

#include "gui/help/about.h"
#include "gui/help/help.h"

void ToolWindows::showAbout()
{
    show(m_about, [this] { return new about(m_window); });
}

void ToolWindows::showHelp()
{
    show(m_help, [this] { return new help(m_window); });
}

void ToolWindows::showStation(const std::function<QWidget *()> &make)
{
    show(m_station, make);
}

void ToolWindows::show(QPointer<QWidget> &tool, const std::function<QWidget *()> &make)
{
    if (!tool)
        tool = make();
    tool->show();
    tool->raise();
    tool->activateWindow();
}
