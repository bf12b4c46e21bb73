#pragma once

#include "core/form/formvalues.h"
#include "core/record/contentrecord.h"
#include "core/settings/linksettings.h"

#include <QString>
#include <QStringList>

#include <optional>

// Named fields of a form changed as a technician would type them: each value
// must fit the field and pass every check a download makes of that field.
// Names are the form's object names ("m_nev", "t3", "tc1_3").

struct EditRefusal
{
    enum class Reason { NotAnAssignment, NoSuchField, NotABoxValue, TooLong, Refused };
    QString assignment;  // what was asked, "m_pin=12a4"
    Reason reason = Reason::Refused;
    RecordResult refusal;  // the download's objection, for Refused
    int maxLength = 0;     // the field's, for TooLong
};

// How much of a download's checks an assignment must pass: all of them for
// its field, or only those of the value itself (its length, a box's 1 or 0),
// for one who checks the download's rules once for many values.
enum class EditCheck { Download, ValueOnly };

// Applies "NAME=VALUE" assignments in turn; check boxes take 1 or 0. Stops
// at the first one that names no field or holds a value a download of the
// result with `settings` would refuse; `values` is then left as it was.
std::optional<EditRefusal> applyAssignments(FormValues &values, const QStringList &assignments, const LinkSettings &settings,
                                            EditCheck check = EditCheck::Download);
