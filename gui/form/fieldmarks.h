#pragma once

#include <QString>

class QWidget;

// Marks on the form's fields: a red frame just outside the field, with what
// is wrong as the tool tip, that stays until the field is edited or the
// form's content is replaced. A verify marks the fields the module holds
// otherwise; a refused download the field it refuses.
namespace FieldMarks {

// Marks the line edit or check box of that object name.
void mark(const QWidget *central, const QString &name, const QString &tip);
void clear(const QWidget *central);
bool isMarked(const QWidget *field);
// The field's own tool tip (a telephone's owner), shown while no mark is.
void setBaseTip(QWidget *field, const QString &tip);

} // namespace FieldMarks
