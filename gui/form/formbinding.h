#pragma once

#include "core/form/formvalues.h"

#include <QList>

class QCheckBox;
class QLineEdit;
class QWidget;

// The form's widgets, found by a recursive search below the central widget in
// creation order, and their plain values.
QList<QLineEdit *> formLineEdits(const QWidget *central);
QList<QCheckBox *> formCheckBoxes(const QWidget *central);

FormValues readForm(const QWidget *central);
// Sets every text and check state; the boxes' groups stay as they are.
void writeForm(const QWidget *central, const FormValues &values);
