#pragma once

#include "core/form/formvalues.h"

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

// The longest text read as a telephone number: far more than a field's 14
// digits with every blank, bracket and dash a person writes between them.
inline constexpr int LongestWrittenNumber = 40;

// `written` read as a number of `region` (an ISO 3166 code, "HU") unless it
// carries its own country.
StoredNumber storedNumber(const QString &written, const QString &region);
// The stored form of a number that is one; the text itself otherwise.
QString storedForm(const QString &written, const QString &region);

// The countries a number without one may be read as, by ISO code.
QStringList numberRegions();

// The country calling code of `region` ("HU": 36), 0 for none.
int callingCode(const QString &region);

// The country for numbers without one: that of the form's SMS centre, the
// module's own network (never the desktop's language: an installer in
// Hungary with an English desktop dials Hungarian numbers), else Hungary.
QString formRegion(const FormValues &form);

// A telephone field whose number is not written as the module keeps it
// ("06 30 999 8877" for 36309998877): the module dials it as written.
struct UnstoredNumber
{
    int row = 0;  // 1 … 16
    QString written;
    QString stored;  // empty when it is no number at all
};
QList<UnstoredNumber> unstoredNumbers(const FormValues &form);
