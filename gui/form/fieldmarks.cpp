#include "fieldmarks.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>

namespace FieldMarks {

namespace {

const char *const Marked = "tavir340Marked";
const char *const Watched = "tavir340MarkWatched";
const char *const BaseTip = "tavir340BaseTip";
constexpr int Width = 2;

// A red frame drawn just outside a field, never over it: the field keeps its
// own look, its font and a check box its tick. Clicks go through it.
class MarkFrame : public QWidget
{
public:
    explicit MarkFrame(QWidget *field)
        : QWidget(field->parentWidget())
    {
        setObjectName(field->objectName() + QStringLiteral("_mark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(field->geometry().adjusted(-Width, -Width, Width, Width));
        show();
        raise();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        // Red enough to stand out on a light or a dark form.
        QPainter painter(this);
        painter.setPen(QPen(QColor(220, 30, 30), Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(rect()).adjusted(Width / 2.0, Width / 2.0, -Width / 2.0, -Width / 2.0));
    }
};

QWidget *frameOf(const QWidget *field)
{
    const QWidget *parent = field->parentWidget();
    return parent ? parent->findChild<QWidget *>(field->objectName() + QStringLiteral("_mark"), Qt::FindDirectChildrenOnly) : nullptr;
}

void unmark(QWidget *field)
{
    if (!isMarked(field))
        return;
    field->setProperty(Marked, false);
    delete frameOf(field);
    field->setToolTip(field->property(BaseTip).toString());
}

} // namespace

void setBaseTip(QWidget *field, const QString &tip)
{
    field->setProperty(BaseTip, tip);
    if (!isMarked(field))
        field->setToolTip(tip);
}

bool isMarked(const QWidget *field)
{
    return field && field->property(Marked).toBool();
}

void mark(const QWidget *central, const QString &name, const QString &tip)
{
    QWidget *field = central->findChild<QWidget *>(name);
    if (!field || !field->parentWidget())
        return;
    if (!frameOf(field))
        new MarkFrame(field);  // the form owns it
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
    // Found first: each unmark deletes a frame, which is a widget of the form too.
    QList<QWidget *> marked;
    for (QWidget *field : central->findChildren<QWidget *>()) {
        if (isMarked(field))
            marked.append(field);
    }
    for (QWidget *field : std::as_const(marked))
        unmark(field);
}

} // namespace FieldMarks
