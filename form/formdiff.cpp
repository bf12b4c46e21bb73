#include "formdiff.h"

namespace {

// The column headers above the permission boxes: columns 1 and 2 are the
// input alarm, 3 and 4 the output control, each pair bit 2 then bit 1.
QString checkBoxTitle(const QString &name)
{
    static const char *const columns[] = {"Bemenet riasztás 2", "Bemenet riasztás 1",
                                          "Kimenet vezérlés 2", "Kimenet vezérlés 1"};
    const int column = name.mid(2, 1).toInt();
    const int row = name.mid(4).toInt();
    return QStringLiteral("Telefonszám %1, %2").arg(row).arg(QString::fromUtf8(columns[column - 1]));
}

QList<FieldDifference> compareForms(const FormValues &first, const FormValues &second)
{
    QList<FieldDifference> differences;
    const qsizetype texts = std::min({first.texts.size(), second.texts.size(), qsizetype(LineEditCount)});
    for (int i = 0; i < texts; ++i) {
        if (first.texts[i] != second.texts[i])
            differences.append({lineEditCatalogue()[i].name, fieldTitle(i), first.texts[i], second.texts[i]});
    }
    const qsizetype boxes = std::min({first.checked.size(), second.checked.size(), qsizetype(CheckBoxCount)});
    for (int k = 0; k < boxes; ++k) {
        if (first.checked[k] != second.checked[k]) {
            const QString &name = checkBoxCatalogue()[k].name;
            differences.append({name, checkBoxTitle(name), first.checked[k] ? QStringLiteral("1") : QStringLiteral("0"),
                                second.checked[k] ? QStringLiteral("1") : QStringLiteral("0")});
        }
    }
    return differences;
}

} // namespace

FormValues asStoredByModule(const FormValues &form)
{
    FormValues stored = form;
    for (qsizetype i = 0; i < stored.texts.size() && i < LineEditCount; ++i) {
        QString &text = stored.texts[i];
        if (lineEditCatalogue()[i].name == QLatin1String("rele_time"))
            text = text.rightJustified(4, QLatin1Char('0'));
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
    }
    return stored;
}

QList<FieldDifference> compareAsStored(const FormValues &first, const FormValues &second)
{
    return compareForms(asStoredByModule(first), asStoredByModule(second));
}

bool isCheckBox(const FieldDifference &difference)
{
    return difference.name.startsWith(QLatin1String("tc"));
}
