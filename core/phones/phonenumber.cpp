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
    PhoneNumber number;
    if (util.Parse(written.trimmed().toStdString(), region.toUpper().toStdString(), &number) != PhoneNumberUtil::NO_PARSING_ERROR
        || !util.IsValidNumber(number)) {
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
    stored.landline = util.GetNumberType(number) == PhoneNumberUtil::FIXED_LINE;
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

QString defaultRegion(const QLocale &locale)
{
    if (locale.language() == QLocale::C || locale.language() == QLocale::Hungarian)
        return QStringLiteral("HU");
    const QString code = QLocale::territoryToCode(locale.territory());
    return numberRegions().contains(code) ? code : QStringLiteral("HU");
}
