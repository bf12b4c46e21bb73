#include "formedit.h"

#include "fieldcheck.h"

namespace {

// Where the widget of that object name stands in its list, or -1.
template <typename Entry>
int indexOf(const QList<Entry> &catalogue, const QString &name)
{
    const auto found = std::find_if(catalogue.cbegin(), catalogue.cend(),
                                    [&name](const Entry &entry) { return entry.name == name; });
    return found == catalogue.cend() ? -1 : int(found - catalogue.cbegin());
}

// The hidden fields have no rule in the form; a control code, which no
// module takes, is refused all the same. What a file cannot hold is refused
// when the file is written.
std::optional<QString> hiddenFieldViolation(const QString &text)
{
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 32 || c.unicode() == 127; }))
        return QStringLiteral("No control characters.");
    return std::nullopt;
}

} // namespace

std::optional<EditRefusal> applyAssignments(FormValues &values, const QStringList &assignments)
{
    FormValues edited = values;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return EditRefusal{assignment, QStringLiteral("Not NAME=VALUE.")};
        const QString name = assignment.left(equals);
        const QString value = assignment.mid(equals + 1);

        if (const int k = indexOf(checkBoxCatalogue(), name); k >= 0 && k < edited.checked.size()) {
            if (value != QLatin1String("0") && value != QLatin1String("1"))
                return EditRefusal{assignment, QStringLiteral("A check box takes 1 or 0.")};
            edited.checked[k] = value == QLatin1String("1");
            continue;
        }
        const int i = indexOf(lineEditCatalogue(), name);
        if (i < 0 || i >= edited.texts.size())
            return EditRefusal{assignment, QStringLiteral("No such field.")};
        const QString text = value.left(lineEditCatalogue()[i].maxLength);
        std::optional<QString> violation = i >= RequiredFieldCount && i < FieldItemCount
                                               ? hiddenFieldViolation(text)
                                               : fieldRuleViolation(i, text);
        if (violation)
            return EditRefusal{assignment, violation->trimmed()};
        edited.texts[i] = text;
    }
    values = edited;
    return std::nullopt;
}
