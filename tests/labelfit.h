#pragma once

// Whether every label shows its whole text in the box it was given, in the
// fonts this machine really has.

#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QStringList>
#include <QWidget>

// The labels of `window` that cut their text: too wide for the label, or,
// wrapped into it, too tall. Lays the window out first.
inline QStringList clippedLabels(QWidget *window)
{
    window->ensurePolished();
    for (QLayout *layout : window->findChildren<QLayout *>())
        layout->activate();
    QStringList clipped;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(window))
            continue;
        const QRect box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        // A label with a buddy shows its access key underlined, not as "&".
        QString shown = label->text();
        if (label->buddy())
            shown.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QChar(1), QLatin1Char('&'));
        const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, box.width(), 10000), flags, shown);
        if (needed.width() > box.width() || needed.height() > box.height())
            clipped << QStringLiteral("%1 (%2×%3 in %4×%5): %6")
                           .arg(label->objectName())
                           .arg(needed.width()).arg(needed.height()).arg(box.width()).arg(box.height())
                           .arg(label->text());
    }
    return clipped;
}
