#include "phoneexport.h"

#include <QFileInfo>

namespace {

QString vCardText(const QString &text)
{
    QString escaped;
    for (QChar c : text) {
        if (c == u'\\' || c == u',' || c == u';')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

} // namespace

PhoneExportFormat exportFormatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard") ? PhoneExportFormat::VCard : PhoneExportFormat::Table;
}

QByteArray numbersVCard(const FormValues &form, const PhoneBook &book, const RowName &nameOf)
{
    QString text;
    for (int row = 1; row <= TelephoneCount; ++row) {
        const QString number = form.texts.value(FieldItemCount + row - 1).trimmed();
        if (number.isEmpty())
            continue;
        const PhoneBookEntry entry = book.byNumber.value(number);
        const QString name = entry.name.isEmpty() ? nameOf(row) : entry.name;
        text += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        text += QStringLiteral("FN:") + vCardText(name) + QStringLiteral("\r\n");
        text += QStringLiteral("N:") + vCardText(name) + QStringLiteral(";;;;\r\n");
        text += QStringLiteral("TEL;TYPE=CELL:+") + number + QStringLiteral("\r\n");
        text += QStringLiteral("END:VCARD\r\n");
    }
    return text.toUtf8();
}

QByteArray exportedNumbers(PhoneExportFormat format, const FormValues &form, const PhoneBook &book, const RowName &nameOf)
{
    return format == PhoneExportFormat::VCard ? numbersVCard(form, book, nameOf) : phoneBookBytes(book, form);
}
