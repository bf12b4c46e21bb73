#pragma once

#include "core/form/formdiff.h"
#include "core/form/formvalues.h"

#include <QByteArray>
#include <QString>

// What the module sends after an upload request, and how it becomes the form.
//
// The answer is the 44 fields in form order, each ended by CR, then one final
// byte; the module may put a few bytes ending in two field ends before them.
// Read as text, every CR becomes "|" and every other byte the Latin-1
// character of its code.

// The answer text: CR as "|", the final byte dropped, a preamble up to the
// last "||" removed (unless that "||" ends the text), and the fill of unwritten
// memory (0xFF or 0x00) as spaces.
QString answerText(const QByteArray &received);

enum class AnswerError {
    None,
    NoSeparator,      // not a single field end: a silent module
    WrongFieldCount,  // more or fewer fields than the form has line edits
    BadGroup,         // a check box's group number is not an integer
};

// The answer cut into the module's fields: framed as answerText() frames
// it, cut at every CR (never at a "|", which a field may hold), empty pieces
// dropped, blanks at the end of each removed. Telephone fields keep their
// two permission digits in front.
struct AnswerFields
{
    AnswerError error = AnswerError::None;  // NoSeparator, or None
    QStringList items;
};
AnswerFields answerFields(const QByteArray &received);

// Whether a permission digit read back holds the box of bit `bit`.
bool heldByDigit(int digit, int bit);

struct ReadupResult
{
    AnswerError error = AnswerError::None;
    int fieldCount = 0;     // the fields found, for the diagnostic
    FormValues values;      // the form after the read-up, when error is None
};

// Splits the answer into the form's fields and permission digits.
// `current` supplies the check boxes' groups and the states of boxes the
// answer does not speak for.
ReadupResult readModuleAnswer(const QByteArray &received, const FormValues &current);

// What verify found: how the module's answer differs from the form, field by
// field, or why it could not be read as fields at all.
struct AnswerComparison
{
    AnswerError error = AnswerError::None;
    int fieldCount = 0;
    QList<FieldDifference> differences;  // the form first, the module second
};
