#pragma once

#include "formvalues.h"

#include <QString>
#include <QStringList>

#include <optional>

// Named fields of a form changed as a technician would type them: each value
// passes the field's rule and is cut to the field's length, as the form's line
// edits do. Names are the form's object names ("m_nev", "t3", "tc1_3").

struct EditRefusal
{
    QString assignment;  // what was asked, "m_pin=12a4"
    QString reason;      // why not, "Only numbers."
};

// Applies "NAME=VALUE" assignments in turn; check boxes take 1 or 0. Stops
// at the first one that names no field, breaks the field's rule, or holds
// what a content file cannot keep; `values` is then left as it was.
std::optional<EditRefusal> applyAssignments(FormValues &values, const QStringList &assignments);
