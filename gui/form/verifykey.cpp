#include "verifykey.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool isVerifyKey(const QEvent *event)
{
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_V && key->modifiers() == Qt::ControlModifier;
}

} // namespace

VerifyKey::VerifyKey(QWidget *form, QObject *parent)
    : QObject(parent)
{
    for (QLineEdit *field : form->findChildren<QLineEdit *>())
        field->installEventFilter(this);
}

bool VerifyKey::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Not taken as the field's own key: the window's shortcut gets it.
        if (isVerifyKey(event)) {
            event->ignore();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        return isVerifyKey(event);  // no paste, even with verify unavailable
    default:
        return false;
    }
}
