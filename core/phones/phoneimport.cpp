#include "phoneimport.h"

#include "phonenumber.h"

#include <QSet>

namespace {

QString telephone(const FormValues &form, int row)
{
    return form.texts.value(FieldItemCount + row - 1).trimmed();
}

ImportReason reasonOf(const StoredNumber &number)
{
    switch (number.problem) {
    case StoredNumber::Problem::NotANumber:
        return ImportReason::NotANumber;
    case StoredNumber::Problem::TooLong:
        return ImportReason::TooLong;
    case StoredNumber::Problem::None:
        break;
    }
    return ImportReason::None;
}

} // namespace

ImportClass importClass(ImportReason reason)
{
    switch (reason) {
    case ImportReason::None:
        return ImportClass::Import;
    case ImportReason::DuplicateInFile:
    case ImportReason::AlreadyInForm:
    case ImportReason::Landline:
        return ImportClass::Warning;
    case ImportReason::NotANumber:
    case ImportReason::TooLong:
        break;
    }
    return ImportClass::Error;
}

QList<ImportEntry> classifyContacts(const QList<Contact> &contacts, const FormValues &form, const QString &region)
{
    // The form's numbers as stored, however they were typed: "06301234567"
    // is the same number as "36301234567".
    QSet<QString> inForm;
    for (int row = 1; row <= TelephoneCount; ++row)
        if (!telephone(form, row).isEmpty())
            inForm.insert(storedForm(telephone(form, row), region));
    QSet<QString> seen;
    QList<ImportEntry> entries;
    for (const Contact &contact : contacts) {
        const StoredNumber number = storedNumber(contact.written, region);
        ImportEntry entry{contact, number.digits, reasonOf(number)};
        if (entry.reason == ImportReason::None) {
            if (inForm.contains(number.digits))
                entry.reason = ImportReason::AlreadyInForm;
            else if (seen.contains(number.digits))
                entry.reason = ImportReason::DuplicateInFile;
            else if (number.landline)
                entry.reason = ImportReason::Landline;
            seen.insert(number.digits);
        }
        entries.append(entry);
    }
    return entries;
}

bool isChoosable(ImportReason reason)
{
    return reason == ImportReason::None || reason == ImportReason::Landline;
}

ImportCounts countClasses(const QList<ImportEntry> &entries)
{
    ImportCounts counts;
    for (const ImportEntry &entry : entries) {
        switch (entry.kind()) {
        case ImportClass::Import:
            ++counts.imports;
            break;
        case ImportClass::Warning:
            ++counts.warnings;
            break;
        case ImportClass::Error:
            ++counts.errors;
            break;
        }
    }
    return counts;
}

QList<int> freeTelephoneRows(const FormValues &form)
{
    QList<int> rows;
    for (int row = 1; row <= TelephoneCount; ++row)
        if (telephone(form, row).isEmpty())
            rows << row;
    return rows;
}

std::optional<QList<int>> placeNumbers(FormValues &form, const QStringList &numbers, const ImportPermissions &permissions)
{
    QList<ChosenNumber> chosen;
    for (const QString &number : numbers)
        chosen.append({number, permissions, {}, {}});
    return placeChosen(form, chosen);
}

// A number that names its row goes back there when the row is free; the
// others take the free rows left, in order.
std::optional<QList<int>> placeChosen(FormValues &form, const QList<ChosenNumber> &chosen)
{
    QList<int> free = freeTelephoneRows(form);
    if (chosen.size() > free.size())
        return std::nullopt;
    QList<int> rows(chosen.size(), 0);
    for (int i = 0; i < chosen.size(); ++i)
        if (free.removeOne(chosen[i].row))
            rows[i] = chosen[i].row;
    for (int i = 0; i < chosen.size(); ++i)
        if (rows[i] == 0)
            rows[i] = free.takeFirst();
    for (int i = 0; i < chosen.size(); ++i) {
        const int row = rows[i];
        const ImportPermissions &p = chosen[i].permissions;
        form.texts[FieldItemCount + row - 1] = chosen[i].number;
        for (const auto &[column, on] : {std::pair{AlarmInput1Column, p.alarmInput1}, std::pair{AlarmInput2Column, p.alarmInput2},
                                         std::pair{ControlOutput3Column, p.controlOutput3}, std::pair{ControlOutput4Column, p.controlOutput4}})
            form.checked[permissionBoxIndex(column, row)] = on;
    }
    return rows;
}
