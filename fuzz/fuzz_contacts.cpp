// Any bytes as a contacts file: whatever the reader finds, a number it
// would import is digits only and fits a telephone field, the numbers put
// into a form leave it savable, and each reads back as itself, with its
// name, from the vCard export and from the phone book.

#include "core/content/contentfile.h"
#include "core/phones/contactsfile.h"
#include "core/phones/phonebook.h"
#include "core/phones/phoneexport.h"
#include "core/phones/phoneimport.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

QStringList storedOf(const QByteArray &bytes)
{
    QStringList stored;
    for (const ImportEntry &entry : classifyContacts(readContacts(bytes).contacts, initialFormValues(), QStringLiteral("US")))
        stored << entry.stored;
    return stored;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ContactsRead read = readContacts(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    FormValues form = initialFormValues();
    QStringList clean;
    PhoneBook book;
    for (const ImportEntry &entry : classifyContacts(read.contacts, form, QStringLiteral("HU"))) {
        if (entry.kind() != ImportClass::Import)
            continue;
        const bool digits = std::all_of(entry.stored.begin(), entry.stored.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        require(!entry.stored.isEmpty() && digits && entry.stored.size() <= 14);
        if (clean.size() < TelephoneCount) {
            clean << entry.stored;
            book.byNumber.insert(entry.stored, {entry.contact.name.simplified(), QString()});
        }
    }
    require(placeNumbers(form, clean, {true, false, true, false}) && !ContentFile::findUnsavable(form));
    const auto nameOf = [](int) { return QString(); };
    require(storedOf(numbersVCard(form, book, nameOf)) == clean);
    const QByteArray table = phoneBookBytes(book, form);
    require(storedOf(table) == clean);
    const PhoneBook back = readPhoneBook(table);
    for (const QString &number : clean)
        require(back.nameOf(number) == book.nameOf(number));
    return 0;
}
