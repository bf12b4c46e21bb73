#pragma once

#include <QMessageBox>

// Every message of the program: modal, one OK button, no default button.
namespace Message {

inline void information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

inline void warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

inline void critical(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

// The same, with more behind the box's "Show Details..." button.
inline void critical(QWidget *parent, const QString &title, const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::NoButton);
    box.setDetailedText(details);
    box.exec();
}

} // namespace Message
