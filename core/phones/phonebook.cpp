#include "phonebook.h"

#include "contactsfile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString cell(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString flag(const FormValues &form, int column, int row)
{
    return form.checked.value(permissionBoxIndex(column, row)) ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString phoneBookPath(const QString &contentPath)
{
    const QFileInfo file(contentPath);
    const QString base = file.suffix().compare(QLatin1String("t16"), Qt::CaseInsensitive) == 0 ? file.completeBaseName() : file.fileName();
    return file.dir().filePath(base + QStringLiteral(".phones.csv"));
}

QByteArray phoneBookBytes(const PhoneBook &book, const FormValues &form)
{
    QString text = QStringLiteral("row;name;number;type;alarm input 1;alarm input 2;controls output 3;controls output 4\r\n");
    for (int row = 1; row <= TelephoneCount; ++row) {
        const QString number = form.texts.value(FieldItemCount + row - 1).trimmed();
        if (number.isEmpty())
            continue;
        const PhoneBookEntry entry = book.byNumber.value(number);
        text += QStringList{QString::number(row), cell(entry.name), u'+' + number, cell(entry.type), flag(form, AlarmInput1Column, row),
                            flag(form, AlarmInput2Column, row), flag(form, ControlOutput3Column, row), flag(form, ControlOutput4Column, row)}
                    .join(u';')
              + QStringLiteral("\r\n");
    }
    if (!book.simNumber.isEmpty())
        text += QStringLiteral("SIM;;+%1;;;;;\r\n").arg(book.simNumber);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

PhoneBook readPhoneBook(const QByteArray &bytes)
{
    PhoneBook book;
    for (const Contact &contact : readContacts(bytes).contacts) {
        QString number = contact.written;
        number.remove(u'+');
        if (contact.row < 0)
            book.simNumber = number;
        else if (!contact.name.isEmpty() || !contact.type.isEmpty())
            book.byNumber.insert(number, {contact.name, contact.type});
    }
    return book;
}
