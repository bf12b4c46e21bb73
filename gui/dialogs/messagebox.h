#pragma once

#include <QMessageBox>

// Every message of the program: modal, one OK button, no default button.
// Once it is closed, the window it spoke for is the active one again: some
// window managers leave no window active, and the keys would go nowhere.
namespace Message {

inline void show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::NoButton);
    box.exec();
    if (parent)
        parent->window()->activateWindow();
}

inline void information(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Information, title, text);
}

inline void warning(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Warning, title, text);
}

inline void critical(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Critical, title, text);
}

// The same, with more behind the box's "Show Details..." button.
inline void critical(QWidget *parent, const QString &title, const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::NoButton);
    box.setDetailedText(details);
    box.exec();
    if (parent)
        parent->window()->activateWindow();
}

} // namespace Message
