// Any bytes as a contacts file: whatever the reader finds, a number it
// would import is digits only and fits a telephone field, the numbers put
// into a form leave it savable, and each reads back as itself from the
// export.

#include "core/content/contentfile.h"
#include "core/phones/contactsfile.h"
#include "core/phones/phoneexport.h"
#include "core/phones/phoneimport.h"
#include "core/phones/phonenumber.h"

#include <cstdint>
#include <cstdlib>

namespace {

QList<Contact> contactsOf(const QString &text)
{
    if (isVCardText(text))
        return readVCards(text);
    const ContactTable table = readContactTable(text);
    return tableContacts(table, table.columns);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = contactsText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    FormValues form = initialFormValues();
    QStringList clean;
    for (const ImportEntry &entry : classifyContacts(contactsOf(text), form, QStringLiteral("HU"))) {
        if (entry.kind() != ImportClass::Import)
            continue;
        const bool digits = std::all_of(entry.stored.begin(), entry.stored.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (entry.stored.isEmpty() || !digits || entry.stored.size() > 14)
            std::abort();
        if (clean.size() < TelephoneCount)
            clean << entry.stored;
    }
    if (!placeNumbers(form, clean, {true, false, true, false}) || ContentFile::findUnsavable(form))
        std::abort();
    QStringList back;
    for (const ImportEntry &entry : classifyContacts(contactsOf(QString::fromUtf8(numbersVCard(form, [](int) { return QString(); }))),
                                                     initialFormValues(), QStringLiteral("US")))
        back << entry.stored;
    if (back != clean)
        std::abort();
    return 0;
}
