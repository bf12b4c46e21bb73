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
    QSet<QString> inForm;
    for (int row = 1; row <= TelephoneCount; ++row)
        inForm.insert(telephone(form, row));
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
    const QList<int> free = freeTelephoneRows(form);
    if (numbers.size() > free.size())
        return std::nullopt;
    const QList<std::pair<int, bool>> boxes = {{AlarmInput1Column, permissions.alarmInput1},
                                                {AlarmInput2Column, permissions.alarmInput2},
                                                {ControlOutput3Column, permissions.controlOutput3},
                                                {ControlOutput4Column, permissions.controlOutput4}};
    QList<int> used;
    for (int i = 0; i < numbers.size(); ++i) {
        const int row = free[i];
        form.texts[FieldItemCount + row - 1] = numbers[i];
        for (const auto &[column, on] : boxes)
            form.checked[permissionBoxIndex(column, row)] = on;
        used << row;
    }
    return used;
}
