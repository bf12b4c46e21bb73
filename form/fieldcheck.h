#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The character rules of the form's visible fields and telephone numbers.
// The hidden reserve fields are never examined.

struct FieldProblem
{
    int index;        // the line edit to empty and focus
    QString message;  // what the "Input error" box says
};

// What the "Input error" box would say about `text` in line edit `index`,
// or nothing when the field's rule lets it pass.
std::optional<QString> fieldRuleViolation(int index, const QString &text);

// The first offending field in form order, or nothing when all pass.
std::optional<FieldProblem> findFieldProblem(const QStringList &texts);
