#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// A telephone number as a person writes it ("+36 30 123 4567",
// "06-30/123-4567", "0036 30 …") turned into the form the module keeps:
// international, digits only, without "+" or a leading "00". Numbering
// plans are libphonenumber's, not ours.
struct StoredNumber
{
    enum class Problem {
        None,
        NotANumber,  // no number of any country, or none that could be dialled
        TooLong,     // a number, but longer than a telephone field holds
    };

    QString digits;  // the module's form; empty when there is a problem
    Problem problem = Problem::None;
    bool landline = false;  // a fixed line, where a mobile is usual
};

// `written` read as a number of `region` (an ISO 3166 code, "HU") unless it
// carries its own country.
StoredNumber storedNumber(const QString &written, const QString &region);

// The countries a number without one may be read as, by ISO code.
QStringList numberRegions();

// The country calling code of `region` ("HU": 36), 0 for none.
int callingCode(const QString &region);

// The country for numbers without one: the desktop's own, but Hungary for
// Hungarian and for a desktop that names none (C).
QString defaultRegion(const QLocale &locale);
