#pragma once

#include "core/form/formvalues.h"

class QWidget;

// File → Nyomtatás: the customer's hand-over sheet of `form` in a print
// preview, to any printer or a PDF. The PIN goes on it only when the
// technician says so.
void printHandoverSheet(QWidget *window, const FormValues &form);
