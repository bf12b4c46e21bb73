#pragma once

#include "core/form/formvalues.h"

#include <QList>
#include <QObject>

class QWidget;

// The form's undo history of whole changes: a field's edit once it is left,
// a box clicked, and each new content (a file, a read-up, a journal entry).
// Ctrl+Z and Ctrl+Shift+Z reach it wherever the cursor is, unless the
// focused field has an edit of its own to undo or redo.
class FormHistory : public QObject
{
    Q_OBJECT

public:
    FormHistory(QWidget *form, QObject *parent);

    // The form as it is now is a step of the history, unless it is the
    // step it is at.
    void record();
    bool canUndo() const { return m_at > 0; }
    bool canRedo() const { return m_at + 1 < m_steps.size(); }
    void undo();
    void redo();

signals:
    // The form was put back to a step: the window brings the rest of
    // itself (the operator list, the title) along.
    void restored(const FormValues &values);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restore(int step);

    QWidget *m_form;
    QList<FormValues> m_steps;
    int m_at = -1;
    bool m_restoring = false;
};
