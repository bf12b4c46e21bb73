#include "phoneexport.h"

namespace {

struct Telephone
{
    int row = 0;
    QString number;
};

QList<Telephone> telephones(const FormValues &form)
{
    QList<Telephone> list;
    for (int row = 1; row <= TelephoneCount; ++row) {
        const QString number = form.texts.value(FieldItemCount + row - 1).trimmed();
        if (!number.isEmpty())
            list.append({row, number});
    }
    return list;
}

QString csvCell(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u';'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

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

QByteArray numbersCsv(const FormValues &form, const RowName &nameOf)
{
    QString text = QStringLiteral("name,number\r\n");
    for (const Telephone &t : telephones(form))
        text += csvCell(nameOf(t.row)) + u',' + u'+' + t.number + QStringLiteral("\r\n");
    return text.toUtf8();
}

QByteArray numbersVCard(const FormValues &form, const RowName &nameOf)
{
    QString text;
    for (const Telephone &t : telephones(form)) {
        text += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        text += QStringLiteral("FN:") + vCardText(nameOf(t.row)) + QStringLiteral("\r\n");
        text += QStringLiteral("N:") + vCardText(nameOf(t.row)) + QStringLiteral(";;;;\r\n");
        text += QStringLiteral("TEL;TYPE=CELL:+") + t.number + QStringLiteral("\r\n");
        text += QStringLiteral("END:VCARD\r\n");
    }
    return text.toUtf8();
}
