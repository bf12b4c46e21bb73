#include "inputhold.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QShortcut>
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

// Whether `watched` belongs to the held window: a widget of it, a shortcut
// made on one, or one of its actions. The transfer's own dialogs are windows
// of their own, and their keys and shortcuts (Escape) go on working.
bool InputHold::isHeld(const QObject *watched) const
{
    if (!m_window)
        return false;
    if (const auto *widget = qobject_cast<const QWidget *>(watched))
        return widget->window() == m_window;
    if (qobject_cast<const QShortcut *>(watched) || qobject_cast<const QAction *>(watched)) {
        const auto *owner = qobject_cast<const QWidget *>(watched->parent());
        return owner && owner->window() == m_window;
    }
    return false;
}

bool InputHold::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (!isHeld(watched))
            return false;
        // Taken as the widget's own key, the key is then no shortcut.
        event->accept();
        return true;
    case QEvent::Shortcut:
        return isHeld(watched);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return qobject_cast<const QWidget *>(watched) && isHeld(watched);
    default:
        return false;
    }
}
