#pragma once

#include <QProxyStyle>

// The form's fields under whatever style the desktop chose: each field has the
// fixed size of the form's layout, just wide enough for its longest value in
// the form's face. A style whose frame and padding would leave less room than
// that (Adwaita's does) gets its frame drawn under a narrower margin, and a
// check box indicator larger than its place is drawn to fit it.
class FormFieldStyle : public QProxyStyle
{
public:
    // Puts the fields found below `central` under the style, which `central` owns.
    static void applyTo(QWidget *central);

    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;

private:
    explicit FormFieldStyle(QStyle *base);
};
