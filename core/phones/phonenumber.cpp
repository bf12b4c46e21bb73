#include "phonenumber.h"

#include "core/form/formvalues.h"

#include <phonenumbers/phonenumberutil.h>

#include <set>
#include <string>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

StoredNumber storedNumber(const QString &written, const QString &region)
{
    const PhoneNumberUtil &util = *PhoneNumberUtil::GetInstance();
    StoredNumber stored;
    // Far longer than any number a field holds: said so before the numbering
    // plans are asked, which would take seconds over a cell of thousands.
    if (written.size() > LongestWrittenNumber) {
        stored.problem = StoredNumber::Problem::TooLong;
        return stored;
    }
    PhoneNumber number;
    // A number is valid exactly when its plan gives it a type; asking for the
    // type once halves the plans' pattern matching over a large file.
    PhoneNumberUtil::PhoneNumberType type = PhoneNumberUtil::UNKNOWN;
    if (util.Parse(written.trimmed().toStdString(), region.toUpper().toStdString(), &number) == PhoneNumberUtil::NO_PARSING_ERROR)
        type = util.GetNumberType(number);
    if (type == PhoneNumberUtil::UNKNOWN) {
        stored.problem = StoredNumber::Problem::NotANumber;
        return stored;
    }
    std::string e164;
    util.Format(number, PhoneNumberUtil::E164, &e164);
    const QString digits = QString::fromStdString(e164).remove(u'+');
    if (isTooLong(lineEditIndex(QStringLiteral("t1")), digits.size())) {
        stored.problem = StoredNumber::Problem::TooLong;
        return stored;
    }
    stored.digits = digits;
    stored.landline = type == PhoneNumberUtil::FIXED_LINE;
    return stored;
}

QStringList numberRegions()
{
    std::set<std::string> regions;
    PhoneNumberUtil::GetInstance()->GetSupportedRegions(&regions);
    QStringList codes;
    for (const std::string &region : regions)
        codes << QString::fromStdString(region);
    return codes;
}

int callingCode(const QString &region)
{
    return PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(region.toUpper().toStdString());
}

QString formRegion(const FormValues &form)
{
    const QString centre = form.texts.value(lineEditIndex(QStringLiteral("smskp"))).trimmed();
    PhoneNumber number;
    const PhoneNumberUtil &util = *PhoneNumberUtil::GetInstance();
    std::string region;
    // The country of its calling code: +44 is Britain, whichever island's
    // numbering a centre's number falls in.
    if (!centre.isEmpty() && centre.size() <= LongestWrittenNumber
        && util.Parse(("+" + centre).toStdString(), "ZZ", &number) == PhoneNumberUtil::NO_PARSING_ERROR)
        util.GetRegionCodeForCountryCode(number.country_code(), &region);
    return region.empty() || region == "ZZ" ? QStringLiteral("HU") : QString::fromStdString(region);
}

QString storedForm(const QString &written, const QString &region)
{
    const StoredNumber stored = storedNumber(written, region);
    return stored.problem == StoredNumber::Problem::None ? stored.digits : written.trimmed();
}

QList<UnstoredNumber> unstoredNumbers(const FormValues &form)
{
    QList<UnstoredNumber> found;
    const QString region = formRegion(form);
    for (int row = 1; row <= TelephoneCount; ++row) {
        const QString written = form.texts.value(FieldItemCount + row - 1);
        if (written.trimmed().isEmpty())
            continue;
        const StoredNumber stored = storedNumber(written, region);
        if (stored.digits != written)
            found.append({row, written, stored.digits});
    }
    return found;
}
