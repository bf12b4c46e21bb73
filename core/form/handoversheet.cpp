#include "handoversheet.h"

namespace {

QString text(const FormValues &form, const char *name)
{
    return form.texts.value(lineEditIndex(QLatin1String(name)));
}

bool checked(const FormValues &form, int column, int row)
{
    return form.checked.value(checkBoxIndex(QStringLiteral("tc%1_%2").arg(column).arg(row)));
}

} // namespace

HandoverSheet handoverSheet(const FormValues &form)
{
    HandoverSheet sheet;
    sheet.moduleName = text(form, "m_nev");
    sheet.moduleId = text(form, "m_id");
    sheet.pin = text(form, "m_pin");
    sheet.relayTime = text(form, "rele_time");
    sheet.restore = text(form, "visszaallas");
    sheet.input1Name = text(form, "be1_nev");
    sheet.input2Name = text(form, "be2_nev");
    for (const char *name : {"ki3_on", "ki4_on", "ki3_off", "ki4_off", "be1_on_msg", "be1_off_msg", "be2_on_msg", "be2_off_msg"})
        sheet.texts.append({lineEditIndex(QLatin1String(name)), text(form, name)});
    // The columns of a row: input alarm 2, input alarm 1, output control 2,
    // output control 1, as the form's headers name them.
    for (int row = 1; row <= TelephoneCount; ++row) {
        const QString number = form.texts.value(FieldItemCount + row - 1).trimmed();
        if (number.isEmpty())
            continue;
        sheet.rows.append({row, number, checked(form, 2, row), checked(form, 1, row), checked(form, 4, row), checked(form, 3, row)});
    }
    return sheet;
}
