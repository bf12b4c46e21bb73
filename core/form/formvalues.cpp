#include "formvalues.h"

#include <QCoreApplication>
#include <QRegularExpression>

const QList<LineEditSpec> &lineEditCatalogue()
{
    static const QList<LineEditSpec> catalogue = [] {
        // The texts run input 1 on, input 2 on, input 1 off, input 2 off.
        QList<LineEditSpec> list = {
            {"smskp", 16},
            {"m_pin", 4},
            {"m_id", 4},
            {"m_nev", 16},
            {"visszaallas", 1},
            {"be1_nev", 16},
            {"be2_nev", 16},
            {"rele_time", 4},
            {"ki3_on", 16},
            {"ki4_on", 16},
            {"ki3_off", 16},
            {"ki4_off", 16},
            {"be1_on_msg", 16},
            {"be1_off_msg", 16},
            {"be2_on_msg", 16},
            {"be2_off_msg", 16},
        };
        for (int r = 16; r <= 27; ++r)
            list.append({QStringLiteral("r%1").arg(r), 16});
        for (int t = 1; t <= TelephoneCount; ++t)
            list.append({QStringLiteral("t%1").arg(t), 14});
        return list;
    }();
    return catalogue;
}

int lineEditIndex(const QString &name)
{
    const QList<LineEditSpec> &catalogue = lineEditCatalogue();
    for (int i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].name == name)
            return i;
    }
    return -1;
}

bool isTooLong(int index, qsizetype length)
{
    return index >= 0 && index < LineEditCount && length > lineEditCatalogue().at(index).maxLength;
}

QString fittedToField(int index, const QString &text)
{
    const int maxLength = index >= 0 && index < LineEditCount ? lineEditCatalogue().at(index).maxLength : RecordItemWidth;
    return text.left(maxLength);
}

std::optional<CheckBoxPlace> checkBoxPlace(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^tc([1-4])_([0-9]{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const CheckBoxPlace place{match.captured(1).toInt(), match.captured(2).toInt()};
    if (place.row < 1 || place.row > TelephoneCount)
        return std::nullopt;
    return place;
}

PermissionPieces permissionPieces(const QString &group)
{
    const QStringView text(group);
    const qsizetype first = text.indexOf(QLatin1Char('.'));
    const qsizetype last = text.lastIndexOf(QLatin1Char('.'));
    auto number = [](QStringView piece) -> std::optional<int> {
        bool ok = false;
        const int value = piece.toInt(&ok, 10);
        return ok ? std::optional<int>(value) : std::nullopt;
    };
    return {number(first < 0 ? text : text.left(first)), number(last < 0 ? text : text.mid(last + 1))};
}

std::optional<PermissionBit> permissionBit(const QString &group)
{
    const PermissionPieces pieces = permissionPieces(group);
    if (!pieces.group || !pieces.bit || *pieces.bit < 1 || *pieces.bit > 30)
        return std::nullopt;
    return PermissionBit{*pieces.group, *pieces.bit};
}

QString relayTimeAsStored(const QString &text)
{
    return text.rightJustified(4, QLatin1Char('0'));
}

const QList<CheckBoxSpec> &checkBoxCatalogue()
{
    static const QList<CheckBoxSpec> catalogue = [] {
        // Column c of row n: columns 1 and 2 are the input-alarm group 2n-1,
        // columns 3 and 4 the output-control group 2n; the odd columns carry
        // bit 2, the even ones bit 1.
        auto box = [](int column, int row) {
            const int group = column <= 2 ? 2 * row - 1 : 2 * row;
            const int bit = column % 2 == 1 ? 2 : 1;
            return CheckBoxSpec{QStringLiteral("tc%1_%2").arg(column).arg(row),
                                QStringLiteral("%1.%2").arg(group).arg(bit)};
        };
        QList<CheckBoxSpec> list = {box(1, 1), box(2, 1), box(3, 1), box(4, 1)};
        for (int row = 2; row <= TelephoneCount; ++row)
            list << box(4, row) << box(1, row) << box(3, row) << box(2, row);
        return list;
    }();
    return catalogue;
}

int checkBoxIndex(const QString &name)
{
    const QList<CheckBoxSpec> &catalogue = checkBoxCatalogue();
    for (int k = 0; k < catalogue.size(); ++k) {
        if (catalogue[k].name == name)
            return k;
    }
    return -1;
}

FormValues initialFormValues()
{
    FormValues values;
    for (int i = 0; i < LineEditCount; ++i)
        values.texts.append(QString());
    values.texts[0] = smsOperators().first().number;
    for (const CheckBoxSpec &box : checkBoxCatalogue()) {
        values.checked.append(false);
        values.groups.append(box.group);
    }
    return values;
}

const QList<SmsOperator> &smsOperators()
{
    static const QList<SmsOperator> operators = {
        {QStringLiteral("T-Mobile"), QStringLiteral("36309888000")},
        {QStringLiteral("Telenor"), QStringLiteral("36209300099")},
        {QStringLiteral("Vodafone"), QStringLiteral("36709996500")},
        {QString(), QString()},  // the custom entry, named by each front
    };
    return operators;
}

int operatorIndexForNumber(const QString &number)
{
    const QList<SmsOperator> &operators = smsOperators();
    for (int i = 0; i < operators.size(); ++i) {
        if (!operators[i].number.isEmpty() && operators[i].number == number)
            return i;
    }
    return int(operators.size()) - 1;
}

int permissionBoxIndex(int column, int row)
{
    return checkBoxIndex(QStringLiteral("tc%1_%2").arg(column).arg(row));
}
