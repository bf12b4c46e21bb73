#include "formfieldstyle.h"

#include "formbinding.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QStyleFactory>
#include <QStyleOption>

namespace {
// What QLineEdit itself keeps between its contents rectangle and the text.
constexpr int LineEditTextMarginX = 2;
constexpr int LineEditTextMarginY = 1;
constexpr int CursorWidth = 1;
constexpr int FrameLeft = 1;  // the least of a frame that is kept
} // namespace

FormFieldStyle::FormFieldStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void FormFieldStyle::applyTo(QWidget *central)
{
    auto *style = new FormFieldStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(central);
    for (QLineEdit *edit : formLineEdits(central))
        edit->setStyle(style);
    for (QCheckBox *box : formCheckBoxes(central))
        box->setStyle(style);
}

// A field's text gets the room its longest value needs, taken from the
// style's frame and padding where they would leave less.
QRect FormFieldStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    QRect contents = QProxyStyle::subElementRect(element, option, widget);
    const auto *edit = qobject_cast<const QLineEdit *>(widget);
    if (element != SE_LineEditContents || !edit || !option)
        return contents;
    const QFontMetrics metrics = edit->fontMetrics();
    const int width = metrics.horizontalAdvance(QString(edit->maxLength(), QLatin1Char('0'))) + 2 * LineEditTextMarginX + CursorWidth;
    const int height = metrics.height() + 2 * LineEditTextMarginY;
    const QRect whole = option->rect.adjusted(FrameLeft, FrameLeft, -FrameLeft, -FrameLeft);
    if (contents.width() < width) {
        const int spare = std::max(0, whole.width() - width);
        contents.setLeft(whole.left() + spare / 2);
        contents.setRight(whole.right() - (spare - spare / 2));
    }
    if (contents.height() < height) {
        const int spare = std::max(0, whole.height() - height);
        contents.setTop(whole.top() + spare / 2);
        contents.setBottom(whole.bottom() - (spare - spare / 2));
    }
    return contents;
}

// A check box's indicator fits the box's place on the form.
int FormFieldStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    const auto *box = qobject_cast<const QCheckBox *>(widget);
    if (!box)
        return size;
    if (metric == PM_IndicatorWidth)
        return std::min(size, box->width());
    if (metric == PM_IndicatorHeight)
        return std::min(size, box->height());
    return size;
}
