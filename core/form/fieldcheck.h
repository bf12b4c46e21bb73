#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The character rules of the form's fields, each defined once: the window
// applies them when a field is left, `set` to every value it is given, and
// the download to whatever a file or a read-up put into the form.

// The rule a field's text breaks, by the field's class.
enum class FieldRule {
    None,
    Digits,           // SMS centre, PIN, module id, relay time: digits and blanks
    SevenBitText,     // names and texts: printable 7-bit characters
    RestoreFlag,      // the restore flag: 1, 0 or nothing
    TelephoneDigits,  // telephone numbers: digits and blanks
};

struct FieldProblem
{
    int index;  // the line edit to empty and focus
    FieldRule rule;
};

// Which rule `text` breaks in line edit `index`. The hidden reserve fields
// have no rule.
FieldRule fieldRuleViolation(int index, const QString &text);

// The first offending field in form order, or nothing when all pass.
std::optional<FieldProblem> findFieldProblem(const QStringList &texts);

// Line ends, tabs and the like: the codes below 32, and 127. A control code
// would reach the module as a field end or as a byte it cannot show.
bool isControlCode(char16_t code);
