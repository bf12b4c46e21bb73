#include "telephonepaste.h"

#include "core/phones/phonenumber.h"
#include "formbinding.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

TelephonePaste::TelephonePaste(QWidget *form, QObject *parent)
    : QObject(parent)
    , m_form(form)
{
    const QList<QLineEdit *> fields = formLineEdits(form);
    for (int row = 0; row < TelephoneCount; ++row)
        fields[FieldItemCount + row]->installEventFilter(this);
}

bool TelephonePaste::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || field->isReadOnly())
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl+V verifies (see VerifyKey): Shift+Insert is the paste.
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ShiftModifier) {
            paste(field);
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu) {
        showMenu(field, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return false;
}

// The field's own menu, its Paste through here; shown without waiting.
void TelephonePaste::showMenu(QLineEdit *field, const QPoint &where)
{
    QMenu *menu = field->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste, by the field's own words for it (the key is left
    // off where the window's Ctrl+V verifies).
    static const char *const context = "QLineEdit";  // Qt's own words, in Qt's own translation
    static const char *const paste = "&Paste";
    const QString pasteText = QCoreApplication::translate(context, paste);
    for (QAction *action : menu->actions()) {
        if (!action->text().startsWith(pasteText))
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        action->disconnect();
        connect(action, &QAction::triggered, field, [this, field] { this->paste(field); });
    }
    menu->popup(where);
}

void TelephonePaste::paste(QLineEdit *field)
{
    const QString text = QApplication::clipboard()->text();
    const StoredNumber number = storedNumber(text, formRegion(readForm(m_form)));
    if (number.problem != StoredNumber::Problem::None) {
        field->paste();
        return;
    }
    field->selectAll();
    field->insert(number.digits);  // one step of the field's own undo
}
