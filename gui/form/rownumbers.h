#pragma once

#include <QObject>

class QWidget;

// Each telephone row's number, 1 … 16, drawn in the free strip between the
// numbers and the pictures, so that "number 3" is found without counting.
// Drawn on the form itself rather than by labels of their own: the form's
// widgets and their order stay exactly as they are.
class RowNumbers : public QObject
{
    Q_OBJECT

public:
    // Owned by `parent` rather than the frame, whose children are the form.
    RowNumbers(QWidget *frame, QObject *parent);

    // Where row `row`'s number stands, in the frame's coordinates.
    static QRect place(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_frame;
};
