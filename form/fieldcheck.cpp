#include "fieldcheck.h"

#include "formvalues.h"

namespace {

bool isDigitOrBlank(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(' ');
}

// Printable 7-bit text: a pasted line end or tab would reach the module as a
// field end or as a byte it cannot show.
bool isSevenBit(QChar c)
{
    return c.unicode() >= 32 && c.unicode() < 127;
}

bool allPass(const QString &text, bool (*test)(QChar))
{
    return std::all_of(text.begin(), text.end(), test);
}

bool isNumericField(const QString &name)
{
    return name == QLatin1String("smskp") || name == QLatin1String("m_id")
        || name == QLatin1String("m_pin") || name == QLatin1String("rele_time");
}

} // namespace

std::optional<QString> fieldRuleViolation(int index, const QString &text)
{
    if (index < 0 || index >= LineEditCount || (index >= RequiredFieldCount && index < FieldItemCount))
        return std::nullopt;
    if (index >= FieldItemCount) {
        if (!allPass(text, isDigitOrBlank))
            return QStringLiteral("Telephone number: only numbers.");
        return std::nullopt;
    }
    const QString &name = lineEditCatalogue()[index].name;
    if (isNumericField(name)) {
        if (!allPass(text, isDigitOrBlank))
            return QStringLiteral("Only numbers.");
    } else if (!allPass(text, isSevenBit)) {
        return QStringLiteral("Only numbers and characters. (7-bit ascii)\n");
    }
    if (name == QLatin1String("visszaallas") && !text.isEmpty() && text != QLatin1String("0")
        && text != QLatin1String("1"))
        return QStringLiteral("The value is only 1 or 0.");
    return std::nullopt;
}

std::optional<FieldProblem> findFieldProblem(const QStringList &texts)
{
    for (int i = 0; i < texts.size() && i < LineEditCount; ++i) {
        if (const std::optional<QString> message = fieldRuleViolation(i, texts[i]))
            return FieldProblem{i, *message};
    }
    return std::nullopt;
}
