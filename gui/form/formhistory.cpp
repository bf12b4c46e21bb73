#include "formhistory.h"

#include "formbinding.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int MostSteps = 100;

} // namespace

FormHistory::FormHistory(QWidget *form, QObject *parent)
    : QObject(parent)
    , m_form(form)
{
    for (QLineEdit *field : formLineEdits(form)) {
        connect(field, &QLineEdit::editingFinished, this, &FormHistory::record);
        field->installEventFilter(this);
    }
    // Clicked, not toggled: a load sets boxes too, and is one step.
    for (QCheckBox *box : formCheckBoxes(form))
        connect(box, &QCheckBox::clicked, this, &FormHistory::record);
    record();
}

void FormHistory::record()
{
    if (m_restoring)
        return;
    const FormValues now = readForm(m_form);
    if (m_at >= 0 && m_steps[m_at] == now)
        return;
    m_steps.resize(m_at + 1);  // what was undone gives way to the new step
    m_steps.append(now);
    if (m_steps.size() > MostSteps)
        m_steps.removeFirst();
    m_at = int(m_steps.size()) - 1;
}

void FormHistory::undo()
{
    record();  // an edit not yet left is a step of its own
    if (canUndo())
        restore(m_at - 1);
}

void FormHistory::redo()
{
    if (canRedo())
        restore(m_at + 1);
}

void FormHistory::restore(int step)
{
    m_at = step;
    m_restoring = true;
    writeForm(m_form, m_steps[step]);
    m_restoring = false;
    emit restored(m_steps[step]);
}

// A field with an edit of its own to undo or redo keeps the key (Ctrl+Z,
// Ctrl+Shift+Z, as the menu gives them); any other lets it through to the
// window's Undo and Redo.
bool FormHistory::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    const auto *field = qobject_cast<const QLineEdit *>(watched);
    const QKeyCombination pressed = key->keyCombination();
    const bool undoKey = pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Z);
    const bool redoKey = pressed == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    if (!field || (!undoKey && !redoKey))
        return false;
    if ((undoKey && field->isUndoAvailable()) || (redoKey && field->isRedoAvailable()))
        return false;
    event->ignore();
    return true;
}
