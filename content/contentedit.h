#pragma once

#include "form/formvalues.h"
#include "transfer/contentrecord.h"

#include <QString>
#include <QStringList>

#include <optional>

// Named fields of a form changed as a technician would type them: each value
// is cut to the field's length, as the form's line edits do, and must pass
// every check a download makes of that field. Names are the form's object
// names ("m_nev", "t3", "tc1_3").

struct EditRefusal
{
    enum class Reason { NotAnAssignment, NoSuchField, NotABoxValue, Refused };
    QString assignment;  // what was asked, "m_pin=12a4"
    Reason reason = Reason::Refused;
    RecordResult refusal;  // the download's objection, for Refused
};

// Applies "NAME=VALUE" assignments in turn; check boxes take 1 or 0. Stops
// at the first one that names no field or holds a value a download of the
// result would refuse (with the default separator); `values` is then left as
// it was.
std::optional<EditRefusal> applyAssignments(FormValues &values, const QStringList &assignments);
