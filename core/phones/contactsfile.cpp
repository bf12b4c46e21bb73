#include "contactsfile.h"

#include "core/content/manifest.h"
#include "core/form/formvalues.h"

#include <QStringList>

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

// A quoted-printable value's bytes, read in the CHARSET its parameters
// name (UTF-8 when they name none).
QString quotedPrintable(const QString &value, const QString &parameters)
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
    static const QRegularExpression charset(QStringLiteral("CHARSET=\"?([^;:\"]+)"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch named = charset.match(parameters);
    const QString decoded = named.hasMatch() ? decodeBytes(bytes, named.captured(1)) : QString();
    return decoded.isEmpty() ? QString::fromUtf8(bytes) : decoded;
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
        p.value = quotedPrintable(p.value, p.parameters);
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

// A number's kind as its parameters say: "CELL", "WORK,VOICE".
QString telType(const QString &parameters)
{
    QStringList kinds;
    for (QString parameter : parameters.split(u';', Qt::SkipEmptyParts)) {
        parameter = parameter.trimmed();
        if (parameter.startsWith(QLatin1String("TYPE="), Qt::CaseInsensitive))
            parameter = parameter.mid(5);
        if (parameter.contains(u'=') || parameter.compare(QLatin1String("PREF"), Qt::CaseInsensitive) == 0)
            continue;  // CHARSET=, ENCODING=, VALUE=: no kind
        for (const QString &kind : parameter.remove(u'"').split(u',', Qt::SkipEmptyParts))
            if (kind.compare(QLatin1String("pref"), Qt::CaseInsensitive) != 0)
                kinds << kind.toUpper();
    }
    return kinds.join(u',');
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
            numbers.append({{}, telValue(p.value), telType(p.parameters), line.line, 0, std::nullopt});
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


// A heading as it is compared: no accents, no case, words only.
QString normalized(const QString &heading)
{
    QString plain;
    for (const QChar c : heading.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        plain += c.isLetterOrNumber() ? c.toLower() : QChar(u' ');
    }
    return plain.simplified();
}

QStringList wordsOf(const QString &heading)
{
    return normalized(heading).split(u' ', Qt::SkipEmptyParts);
}

bool hasWord(const QStringList &words, std::initializer_list<const char *> wanted)
{
    return std::any_of(wanted.begin(), wanted.end(), [&words](const char *w) { return words.contains(QLatin1String(w)); });
}

// A column of telephone numbers, by a word of its heading, never by part of
// a word ("Phonetic First Name" is none); not the column of a number's kind
// ("Phone 1 - Type"), nor a fax's or a pager's.
bool isNumberHeading(const QString &heading)
{
    const QStringList words = wordsOf(heading);
    return hasWord(words, {"phone", "telephone", "tel", "mobile", "mobil", "cell", "cellphone", "telefon", "telefonszam",
                           "mobilszam", "szam", "number", "phonenumber"})
        && !hasWord(words, {"type", "label", "tipus", "cimke", "fax", "pager"});
}

bool isKindHeading(const QString &heading)
{
    const QStringList words = wordsOf(heading);
    return hasWord(words, {"type", "label", "tipus", "cimke"});
}

enum class NamePart { None, Whole, Part };

// A name's column, by its whole heading: the name itself, or a part of it.
NamePart namePart(const QString &heading)
{
    static const QStringList whole = {"name", "full name", "display name", "nev", "teljes nev", "nev teljes"};
    static const QStringList parts = {"first name", "given name", "middle name", "additional name", "last name",
                                      "family name", "keresztnev", "utonev", "vezeteknev", "csaladnev"};
    const QString plain = normalized(heading);
    return whole.contains(plain) ? NamePart::Whole : parts.contains(plain) ? NamePart::Part : NamePart::None;
}

// "Phone 1 - Value" goes with "Phone 1 - Type" (Google's older export) or
// "Phone 1 - Label" (its newer one).
int kindColumnOf(const QStringList &headings, int number)
{
    const QStringList words = wordsOf(headings[number]);
    if (words.size() < 2 || words.last() != QLatin1String("value"))
        return -1;
    const QString stem = QStringList(words.mid(0, words.size() - 1)).join(u' ');
    for (int i = 0; i < headings.size(); ++i) {
        const QStringList other = wordsOf(headings[i]);
        if (i != number && !other.isEmpty() && isKindHeading(headings[i]) && QStringList(other.mid(0, other.size() - 1)).join(u' ') == stem)
            return i;
    }
    return -1;
}

// A table this program wrote: its row column and its permissions' columns.
void ownColumns(const QStringList &first, ContactColumns &columns)
{
    static const QStringList permissions = {"alarm input 1", "alarm input 2", "controls output 3", "controls output 4"};
    QList<int> found(permissions.size(), -1);
    for (int i = 0; i < first.size(); ++i) {
        const QString plain = normalized(first[i]);
        if (plain == QLatin1String("row") || plain == QLatin1String("sor"))
            columns.row = i;
        else if (permissions.contains(plain))
            found[permissions.indexOf(plain)] = i;
        else if ((plain == QLatin1String("type") || plain == QLatin1String("tipus")) && columns.numbers.size() == 1 && columns.types.first() < 0)
            columns.types.first() = i;
    }
    if (!found.contains(-1))
        columns.permissions = found;
}

ContactColumns columnsFromHeadings(const QStringList &first)
{
    ContactColumns columns;
    QList<int> whole, parts;
    for (int i = 0; i < first.size(); ++i) {
        if (isNumberHeading(first[i])) {
            columns.numbers << i;
            columns.types << kindColumnOf(first, i);
        } else if (namePart(first[i]) == NamePart::Whole) {
            whole << i;
        } else if (namePart(first[i]) == NamePart::Part) {
            parts << i;
        }
    }
    columns.name = whole.isEmpty() ? parts : QList<int>{whole.first()};
    columns.header = !columns.numbers.isEmpty();
    if (columns.header)
        ownColumns(first, columns);
    return columns;
}

int digitsIn(const QString &cell)
{
    return int(std::count_if(cell.begin(), cell.end(), [](QChar c) { return c.isDigit(); }));
}

// Without headings: the first cell with six digits or more is the number,
// the first other cell with a letter the name.
ContactColumns guessedColumns(const QStringList &first)
{
    ContactColumns columns;
    for (int i = 0; i < first.size() && columns.numbers.isEmpty(); ++i) {
        if (digitsIn(first[i]) >= 6) {
            columns.numbers << i;
            columns.types << -1;
        }
    }
    for (int i = 0; i < first.size() && columns.name.isEmpty(); ++i)
        if (!columns.numbers.contains(i) && std::any_of(first[i].begin(), first[i].end(), [](QChar c) { return c.isLetter(); }))
            columns.name << i;
    return columns;
}

// The delimiter: what Excel's "sep=" line names, else the first row's most
// common of ',', ';' and tab. The "sep=" line itself is no row.
QChar delimiterOf(QString &text, int *skippedLines)
{
    static const QRegularExpression sep(QStringLiteral("^sep=(.)\\r?\\n"));
    if (const QRegularExpressionMatch named = sep.match(text); named.hasMatch()) {
        text.remove(0, named.capturedLength());
        *skippedLines = 1;
        return named.captured(1).at(0);
    }
    const QString first = text.section(u'\n', 0, 0);
    QChar best = u',';
    for (QChar candidate : {u';', u'\t'})
        if (first.count(candidate) > first.count(best))
            best = candidate;
    return best;
}

QString joinedName(const QStringList &cells, const QList<int> &columns)
{
    QStringList parts;
    for (const int column : columns)
        if (const QString part = cells.value(column).trimmed(); !part.isEmpty())
            parts << part;
    return parts.join(u' ');
}

// The form's row and permissions, from a table this program wrote.
void ownCells(const QStringList &cells, const ContactColumns &columns, Contact &contact)
{
    if (columns.row >= 0) {
        const QString row = cells.value(columns.row).trimmed();
        const int n = row.toInt();
        contact.row = row.compare(QLatin1String("SIM"), Qt::CaseInsensitive) == 0 ? -1 : n >= 1 && n <= TelephoneCount ? n : 0;
    }
    if (columns.permissions.size() == 4) {
        const auto on = [&](int i) { return cells.value(columns.permissions[i]).trimmed() == QLatin1String("1"); };
        contact.permissions = ImportPermissions{on(0), on(1), on(2), on(3)};
    }
}

QList<Contact> tableContacts(const ContactTable &table, const ContactColumns &columns, int lineOffset)
{
    QList<Contact> contacts;
    for (int row = columns.header ? 1 : 0; row < table.rows.size(); ++row) {
        const QStringList &cells = table.rows[row];
        const QString name = joinedName(cells, columns.name);
        for (int n = 0; n < columns.numbers.size(); ++n) {
            const int kindColumn = columns.types.value(n, -1);
            const QString kind = kindColumn >= 0 ? cells.value(kindColumn).trimmed()
                                                 : columns.header ? table.heading(columns.numbers[n]) : QString();
            // Google's older export keeps several numbers in one cell.
            for (const QString &number : cells.value(columns.numbers[n]).split(QStringLiteral(" ::: "), Qt::SkipEmptyParts)) {
                if (number.trimmed().isEmpty())
                    continue;
                contacts.append({name, number.trimmed(), kind, row + 1 + lineOffset, 0, std::nullopt});
                ownCells(cells, columns, contacts.last());
            }
        }
    }
    return contacts;
}

} // namespace

int ContactTable::width() const
{
    qsizetype widest = 0;
    for (const QStringList &row : rows)
        widest = std::max(widest, row.size());
    return int(widest);
}

QString ContactTable::heading(int column) const
{
    return columns.header || headerSaysColumns ? rows.value(0).value(column).trimmed() : QString();
}

int contactColumn(const ContactTable &table, const QString &named)
{
    bool number = false;
    const int index = named.toInt(&number);
    if (number)
        return index >= 1 && index <= table.width() ? index - 1 : -1;
    const QStringList first = table.rows.value(0);
    for (int i = 0; i < first.size(); ++i)
        if (first[i].trimmed().compare(named.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

ContactsRead readContacts(const QByteArray &bytes, const ContactChoice &choice)
{
    ContactsRead read;
    read.text = decodeContacts(bytes, choice.encoding);
    QString text = read.text.text;
    read.vCard = isVCardText(text);
    if (read.vCard) {
        read.contacts = readVCards(text);
        return read;
    }
    int skipped = 0;
    const QChar delimiter = delimiterOf(text, &skipped);
    if (!parseCsv(text, &read.table.rows, &read.badRow, delimiter)) {
        read.badRow += skipped;
        read.problem = ContactsRead::Problem::UnterminatedQuote;
        return read;
    }
    const QStringList first = read.table.rows.value(0);
    read.table.columns = columnsFromHeadings(first);
    read.table.headerSaysColumns = read.table.columns.header;
    if (!read.table.headerSaysColumns)
        read.table.columns = guessedColumns(first);
    const ContactColumns columns = choice.columns.value_or(read.table.columns);
    if (columns.numbers.isEmpty()) {
        read.problem = ContactsRead::Problem::NoNumberColumn;
        return read;
    }
    read.contacts = tableContacts(read.table, columns, skipped);
    return read;
}
