#include "handoversheet.h"

namespace {

QString text(const FormValues &form, const char *name)
{
    return form.texts.value(lineEditIndex(QLatin1String(name)));
}

bool checked(const FormValues &form, int column, int row)
{
    return form.checked.value(permissionBoxIndex(column, row));
}

} // namespace

HandoverSheet handoverSheet(const FormValues &form, const std::function<QString(const QString &)> &nameOf, const QString &simNumber)
{
    HandoverSheet sheet;
    sheet.moduleName = text(form, "m_nev");
    sheet.moduleId = text(form, "m_id");
    sheet.simNumber = simNumber;
    sheet.pin = text(form, "m_pin");
    sheet.relaySeconds = text(form, "rele_time").trimmed().toInt();
    sheet.restore = text(form, "visszaallas").trimmed() == QLatin1String("1");
    sheet.input1Name = text(form, "be1_nev");
    sheet.input2Name = text(form, "be2_nev");
    for (const char *name : {"ki3_on", "ki4_on", "ki3_off", "ki4_off", "be1_on_msg", "be1_off_msg", "be2_on_msg", "be2_off_msg"})
        sheet.texts.append({lineEditIndex(QLatin1String(name)), text(form, name)});
    for (int row = 1; row <= TelephoneCount; ++row) {
        const QString number = form.texts.value(FieldItemCount + row - 1).trimmed();
        if (number.isEmpty())
            continue;
        sheet.rows.append({row, number, nameOf ? nameOf(number) : QString(), checked(form, AlarmInput1Column, row), checked(form, AlarmInput2Column, row),
                           checked(form, ControlOutput3Column, row), checked(form, ControlOutput4Column, row)});
    }
    return sheet;
}

QString sheetFileName(const QString &moduleName)
{
    QString name = QStringLiteral("Tavir-340 ") + moduleName.trimmed();
    for (QChar &c : name)
        if (c < u' ' || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u'-';
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name.left(120) + QStringLiteral(".pdf");
}
