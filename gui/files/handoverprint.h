#pragma once

#include "core/form/formvalues.h"

class QWidget;
struct PhoneBook;

// File → Nyomtatás: the customer's hand-over sheet of `form` in a print
// preview, to any printer or a PDF, with the names of its numbers and the
// module's SIM number from `book`. A small dialog asks first whether the
// PIN goes on it (not unless the technician says so) and whose name and
// company stand at its foot, remembered for the next sheet.
void printHandoverSheet(QWidget *window, const FormValues &form, const PhoneBook &book);
