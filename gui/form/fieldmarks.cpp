#include "fieldmarks.h"

#include <QCheckBox>
#include <QLineEdit>

namespace FieldMarks {

namespace {

const char *const Marked = "tavir340Marked";
const char *const Watched = "tavir340MarkWatched";

void unmark(QWidget *field)
{
    if (!isMarked(field))
        return;
    field->setProperty(Marked, false);
    field->setStyleSheet(QString());
    field->setToolTip(QString());
}

} // namespace

bool isMarked(const QWidget *field)
{
    return field && field->property(Marked).toBool();
}

void mark(const QWidget *central, const QString &name, const QString &tip)
{
    QWidget *field = central->findChild<QWidget *>(name);
    if (!field)
        return;
    // Red enough to stand out on a light or a dark form.
    const QString frame = qobject_cast<QCheckBox *>(field)
                              ? QStringLiteral("QCheckBox::indicator { border: 2px solid rgb(220, 30, 30); }")
                              : QStringLiteral("QLineEdit { border: 2px solid rgb(220, 30, 30); }");
    field->setStyleSheet(frame);
    field->setToolTip(tip);
    field->setProperty(Marked, true);
    if (field->property(Watched).toBool())
        return;
    field->setProperty(Watched, true);
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] { unmark(edit); });
    else if (auto *box = qobject_cast<QCheckBox *>(field))
        QObject::connect(box, &QCheckBox::toggled, box, [box] { unmark(box); });
}

void clear(const QWidget *central)
{
    for (QWidget *field : central->findChildren<QWidget *>()) {
        if (isMarked(field))
            unmark(field);
    }
}

} // namespace FieldMarks
