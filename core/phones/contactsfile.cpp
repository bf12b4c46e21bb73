#include "contactsfile.h"

#include "core/content/manifest.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// One logical vCard line: folded lines joined, with the line it began on.
struct VCardLine
{
    QString text;
    int line = 0;
};

// A folded line goes on after a blank or tab; a quoted-printable value
// that ends in "=" goes on in the next line as it stands.
QList<VCardLine> unfolded(const QString &text)
{
    QList<VCardLine> lines;
    const QStringList raw = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int i = 0; i < raw.size(); ++i) {
        const QString &line = raw[i];
        const bool softBreak = !lines.isEmpty() && lines.last().text.endsWith(u'=')
                               && lines.last().text.contains(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
        if (softBreak) {
            lines.last().text.chop(1);
            lines.last().text += line;
        } else if (!lines.isEmpty() && (line.startsWith(u' ') || line.startsWith(u'\t'))) {
            lines.last().text += line.mid(1);
        } else {
            lines.append({line, i + 1});
        }
    }
    return lines;
}

QString unescaped(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            text += next == u'n' || next == u'N' ? QChar(u' ') : next;
        } else {
            text += value[i];
        }
    }
    return text;
}

QString quotedPrintable(const QString &value)
{
    QByteArray bytes;
    const QByteArray latin = value.toLatin1();
    for (qsizetype i = 0; i < latin.size(); ++i) {
        bool ok = false;
        const int byte = latin[i] == '=' && i + 2 < latin.size() ? latin.mid(i + 1, 2).toInt(&ok, 16) : 0;
        if (ok) {
            bytes += char(byte);
            i += 2;
        } else {
            bytes += latin[i];
        }
    }
    return QString::fromUtf8(bytes);
}

// A property's name (without its group, "item1.TEL" → "TEL"), its
// parameters and its value, split at the first colon outside quotes.
struct Property
{
    QString name;
    QString parameters;
    QString value;
};

Property property(const QString &line)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == u':' && !quoted)
            colon = i;
    }
    const QString head = colon < 0 ? line : line.left(colon);
    Property p;
    p.value = colon < 0 ? QString() : line.mid(colon + 1);
    const qsizetype semicolon = head.indexOf(u';');
    p.name = (semicolon < 0 ? head : head.left(semicolon)).section(u'.', -1).trimmed().toUpper();
    p.parameters = semicolon < 0 ? QString() : head.mid(semicolon + 1);
    if (p.parameters.contains(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive))
        p.value = quotedPrintable(p.value);
    return p;
}

// "Family;Given;Middle;Prefix;Suffix" as a name is said.
QString structuredName(const QString &value)
{
    const QStringList parts = value.split(u';');
    QStringList said;
    for (int i : {3, 1, 2, 0, 4})
        if (!parts.value(i).trimmed().isEmpty())
            said << unescaped(parts.value(i).trimmed());
    return said.join(u' ');
}

// A vCard 4.0 number may be a "tel:" address, with parameters after ';'.
QString telValue(const QString &value)
{
    QString number = value.trimmed();
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number = number.mid(4).section(u';', 0, 0);
    return number;
}

} // namespace

QString contactsText(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool isVCardText(const QString &text)
{
    return text.trimmed().startsWith(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive);
}

QList<Contact> readVCards(const QString &text)
{
    QList<Contact> contacts;
    QString fullName, structured;
    QList<Contact> numbers;
    for (const VCardLine &line : unfolded(text)) {
        const Property p = property(line.text);
        if (p.name == QLatin1String("BEGIN")) {
            fullName.clear();
            structured.clear();
            numbers.clear();
        } else if (p.name == QLatin1String("FN")) {
            fullName = unescaped(p.value).trimmed();
        } else if (p.name == QLatin1String("N")) {
            structured = structuredName(p.value);
        } else if (p.name == QLatin1String("TEL")) {
            numbers.append({{}, telValue(p.value), line.line});
        } else if (p.name == QLatin1String("END")) {
            for (Contact &number : numbers) {
                number.name = fullName.isEmpty() ? structured : fullName;
                contacts.append(number);
            }
            numbers.clear();
        }
    }
    return contacts;
}

namespace {

QChar delimiterOf(const QString &text)
{
    const QString first = text.section(u'\n', 0, 0);
    QChar best = u',';
    for (QChar candidate : {u';', u'\t'})
        if (first.count(candidate) > first.count(best))
            best = candidate;
    return best;
}

// Headings of a name and of a number column, as address books and
// spreadsheets write them, in English and Hungarian; a column of a number's
// kind ("Phone 1 - Type") is no number column.
bool isNameHeading(const QString &cell)
{
    static const QRegularExpression heading(QStringLiteral("name|n[eé]v|contact|kapcsolat"), QRegularExpression::CaseInsensitiveOption);
    return heading.match(cell).hasMatch();
}

bool isNumberHeading(const QString &cell)
{
    static const QRegularExpression heading(QStringLiteral("phone|telefon|mobil|number|sz[aá]m|^tel|cell"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression kind(QStringLiteral("type|t[ií]pus|label|c[ií]mke"), QRegularExpression::CaseInsensitiveOption);
    return heading.match(cell).hasMatch() && !kind.match(cell).hasMatch();
}

int digitsIn(const QString &cell)
{
    return int(std::count_if(cell.begin(), cell.end(), [](QChar c) { return c.isDigit(); }));
}

ContactColumns columnsFromHeadings(const QStringList &first)
{
    ContactColumns columns;
    for (int i = 0; i < first.size(); ++i) {
        if (columns.number < 0 && isNumberHeading(first[i]))
            columns.number = i;
        else if (columns.name < 0 && isNameHeading(first[i]))
            columns.name = i;
    }
    columns.header = columns.number >= 0;
    return columns;
}

// Without headings: the first cell with six digits or more is the number,
// the first other cell with a letter the name.
ContactColumns guessedColumns(const QStringList &first)
{
    ContactColumns columns;
    for (int i = 0; i < first.size() && columns.number < 0; ++i)
        if (digitsIn(first[i]) >= 6)
            columns.number = i;
    for (int i = 0; i < first.size() && columns.name < 0; ++i)
        if (i != columns.number && std::any_of(first[i].begin(), first[i].end(), [](QChar c) { return c.isLetter(); }))
            columns.name = i;
    return columns;
}

} // namespace

int ContactTable::width() const
{
    qsizetype widest = 0;
    for (const QStringList &row : rows)
        widest = std::max(widest, row.size());
    return int(widest);
}

ContactTable readContactTable(const QString &text)
{
    ContactTable table;
    if (!parseCsv(text, &table.rows, &table.badRow, delimiterOf(text)))
        return table;
    const QStringList first = table.rows.value(0);
    table.columns = columnsFromHeadings(first);
    table.headerSaysColumns = table.columns.header;
    if (!table.headerSaysColumns)
        table.columns = guessedColumns(first);
    return table;
}

QList<Contact> tableContacts(const ContactTable &table, const ContactColumns &columns)
{
    QList<Contact> contacts;
    if (columns.number < 0)
        return contacts;
    for (int row = columns.header ? 1 : 0; row < table.rows.size(); ++row) {
        const QStringList &cells = table.rows[row];
        const QString number = cells.value(columns.number).trimmed();
        if (number.isEmpty() && (columns.name < 0 || cells.value(columns.name).trimmed().isEmpty()))
            continue;  // a blank line of a spreadsheet
        contacts.append({columns.name < 0 ? QString() : cells.value(columns.name).trimmed(), number, row + 1});
    }
    return contacts;
}
