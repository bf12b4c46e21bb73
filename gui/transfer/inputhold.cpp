#include "inputhold.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

InputHold::InputHold(QWidget *window)
    : m_window(window)
{
    qApp->installEventFilter(this);
}

InputHold::~InputHold()
{
    qApp->removeEventFilter(this);
}

bool InputHold::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken as the widget's own key, the key is then no shortcut.
        event->accept();
        return true;
    case QEvent::Shortcut:
        return true;  // sent to the action itself, not to a widget
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu: {
        const auto *widget = qobject_cast<const QWidget *>(watched);
        return widget && m_window && widget->window() == m_window;
    }
    default:
        return false;
    }
}
