#include "rownumbers.h"

#include "core/form/formvalues.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {

// The telephone fields end at x 635 and the pictures begin at 660.
constexpr int StripLeft = 639;
constexpr int StripWidth = 19;

} // namespace

RowNumbers::RowNumbers(QWidget *frame, QObject *parent)
    : QObject(parent)
    , m_frame(frame)
{
    frame->installEventFilter(this);
    frame->update();
}

QRect RowNumbers::place(int row)
{
    return {StripLeft, 55 + 25 * (row - 1), StripWidth, 20};
}

// The frame draws no frame of its own, so what is drawn here before it
// paints stays.
bool RowNumbers::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frame && event->type() == QEvent::Paint) {
        QPainter painter(m_frame);
        painter.setFont(m_frame->font());
        painter.setPen(m_frame->palette().color(QPalette::WindowText));
        for (int row = 1; row <= TelephoneCount; ++row)
            painter.drawText(place(row), Qt::AlignLeft | Qt::AlignVCenter, QString::number(row));
    }
    return false;
}
