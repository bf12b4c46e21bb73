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

std::optional<FieldProblem> findFieldProblem(const QStringList &texts)
{
    const QList<LineEditSpec> &catalogue = lineEditCatalogue();
    for (int i = 0; i < RequiredFieldCount && i < texts.size(); ++i) {
        const QString &name = catalogue[i].name;
        if (isNumericField(name)) {
            if (!allPass(texts[i], isDigitOrBlank))
                return FieldProblem{i, QStringLiteral("Only numbers.")};
        } else if (!allPass(texts[i], isSevenBit)) {
            return FieldProblem{i, QStringLiteral("Only numbers and characters. (7-bit ascii)\n")};
        }
        if (name == QLatin1String("visszaallas") && !texts[i].isEmpty()
            && texts[i] != QLatin1String("0") && texts[i] != QLatin1String("1"))
            return FieldProblem{i, QStringLiteral("The value is only 1 or 0.")};
    }
    for (int j = FieldItemCount; j < LineEditCount && j < texts.size(); ++j) {
        if (!allPass(texts[j], isDigitOrBlank))
            return FieldProblem{j, QStringLiteral("Telephone number: only numbers.")};
    }
    return std::nullopt;
}
