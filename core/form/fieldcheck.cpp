#include "fieldcheck.h"

#include "formvalues.h"

namespace {

bool isDigitOrBlank(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(' ');
}

bool isSevenBit(QChar c)
{
    return c.unicode() < 127 && !isControlCode(c.unicode());
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

bool isControlCode(char16_t code)
{
    return code < 32 || code == 127;
}

FieldRule fieldRuleViolation(int index, const QString &text)
{
    if (index < 0 || index >= LineEditCount || (index >= RequiredFieldCount && index < FieldItemCount))
        return FieldRule::None;
    if (index >= FieldItemCount)
        return allPass(text, isDigitOrBlank) ? FieldRule::None : FieldRule::TelephoneDigits;
    const QString &name = lineEditCatalogue()[index].name;
    if (isNumericField(name))
        return allPass(text, isDigitOrBlank) ? FieldRule::None : FieldRule::Digits;
    if (!allPass(text, isSevenBit))
        return FieldRule::SevenBitText;
    if (name == QLatin1String("visszaallas") && !text.isEmpty() && text != QLatin1String("0")
        && text != QLatin1String("1"))
        return FieldRule::RestoreFlag;
    return FieldRule::None;
}

std::optional<FieldProblem> findFieldProblem(const QStringList &texts)
{
    for (int i = 0; i < texts.size() && i < LineEditCount; ++i) {
        if (const FieldRule rule = fieldRuleViolation(i, texts[i]); rule != FieldRule::None)
            return FieldProblem{i, rule};
    }
    return std::nullopt;
}
