#pragma once

#include <QObject>

class QAction;
class QWidget;

// Ctrl+V is the window's verify, as its menu and its help say, wherever the
// cursor is: a field would otherwise take the key as its paste and put the
// clipboard over a value without a word. Paste stays on Shift+Insert and on
// the field's context menu.
class VerifyKey : public QObject
{
public:
    // Watches every line edit of `form`.
    VerifyKey(QWidget *form, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
