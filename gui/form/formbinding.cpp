#include "formbinding.h"

#include <QCheckBox>
#include <QLineEdit>

QList<QLineEdit *> formLineEdits(const QWidget *central)
{
    return central->findChildren<QLineEdit *>();
}

QList<QCheckBox *> formCheckBoxes(const QWidget *central)
{
    return central->findChildren<QCheckBox *>();
}

FormValues readForm(const QWidget *central)
{
    FormValues values;
    for (const QLineEdit *edit : formLineEdits(central))
        values.texts.append(edit->text());
    for (const QCheckBox *box : formCheckBoxes(central)) {
        values.checked.append(box->isChecked());
        values.groups.append(box->property("group").toString());
    }
    return values;
}

void writeForm(const QWidget *central, const FormValues &values)
{
    const QList<QLineEdit *> edits = formLineEdits(central);
    for (qsizetype i = 0; i < edits.size() && i < values.texts.size(); ++i) {
        edits[i]->clear();
        edits[i]->setText(values.texts[i]);
    }
    const QList<QCheckBox *> boxes = formCheckBoxes(central);
    for (qsizetype k = 0; k < boxes.size() && k < values.checked.size(); ++k)
        boxes[k]->setChecked(values.checked[k]);
}
