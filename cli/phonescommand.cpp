#include "phonescommand.h"

#include "core/content/manifestfile.h"
#include "core/phones/contactsfile.h"
#include "core/phones/phoneexport.h"
#include "core/phones/phonebook.h"
#include "core/phones/phoneimport.h"
#include "core/storage/outputfile.h"
#include "core/phones/phonenumber.h"
#include "phrases.h"

#include <QFileInfo>


namespace {

const QString Usage = QStringLiteral("usage: tavir340-cli phones import CONTACTS.vcf|CONTACTS.csv --into FILE.t16 [--region HU] "
                                     "[--encoding NAME] [--name-column C]... [--number-column C]... [--only NAME|LINE]... "
                                     "[--alarm 1,2] [--control 3,4] [-o OUT.t16]\n"
                                     "       tavir340-cli phones export FILE.t16 -o OUT.csv|OUT.vcf [--format csv|vcard]");

// "1,2" of the numbers `allowed` offers; nothing for anything else.
std::optional<QList<int>> numberList(const QString &text, const QList<int> &allowed)
{
    QList<int> numbers;
    for (const QString &piece : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = piece.trimmed().toInt(&ok);
        if (!ok || !allowed.contains(n))
            return std::nullopt;
        numbers << n;
    }
    return numbers;
}

QString rowsSaid(const QList<int> &rows)
{
    QStringList said;
    for (int row : rows)
        said << QString::number(row);
    return said.join(QStringLiteral(", "));
}

// The columns named on the command line (by heading or number), or none.
std::optional<ContactColumns> namedColumns(const QCommandLineParser &parser, const ContactTable &table, QString *unknown)
{
    const QStringList names = parser.values(QStringLiteral("name-column"));
    const QStringList numbers = parser.values(QStringLiteral("number-column"));
    if (names.isEmpty() && numbers.isEmpty())
        return std::nullopt;
    ContactColumns columns = table.columns;
    if (!names.isEmpty())
        columns.name.clear();
    if (!numbers.isEmpty()) {
        columns.numbers.clear();
        columns.types.clear();
    }
    for (const auto &[given, list, isNumber] : {std::tuple{names, &columns.name, false}, std::tuple{numbers, &columns.numbers, true}}) {
        for (const QString &named : given) {
            const int column = contactColumn(table, named);
            if (column < 0)
                *unknown = named;
            *list << column;
            if (isNumber)
                columns.types << -1;
        }
    }
    columns.header = columns.header || table.headerSaysColumns;
    return columns;
}

// Whether --only picks the entry: by its name (any case) or its line.
bool picked(const QStringList &only, const ImportEntry &entry)
{
    return std::any_of(only.cbegin(), only.cend(), [&entry](const QString &one) {
        return one == QString::number(entry.contact.line) || one.compare(entry.contact.name, Qt::CaseInsensitive) == 0;
    });
}

QString entryLine(const ImportEntry &entry)
{
    static const QMap<ImportClass, QString> kinds = {
        {ImportClass::Import, QStringLiteral("import")}, {ImportClass::Warning, QStringLiteral("warning")}, {ImportClass::Error, QStringLiteral("error")}};
    QString line = QStringLiteral("%1  line %2: %3 \"%4\"").arg(kinds.value(entry.kind()), -7).arg(entry.contact.line)
                       .arg(entry.contact.name.isEmpty() ? QStringLiteral("(no name)") : entry.contact.name, entry.contact.written);
    if (!entry.stored.isEmpty())
        line += QStringLiteral(" -> ") + entry.stored;
    if (entry.reason != ImportReason::None)
        line += QStringLiteral(": ") + Phrase::importReason(entry.reason);
    return line;
}

} // namespace

QString PhonesCommand::summary() const
{
    return QStringLiteral("Import telephone numbers from contacts (vCard or CSV) into a content file, or export its numbers.");
}

void PhonesCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("action"), QStringLiteral("import or export."));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("import: the contacts, a vCard or CSV file; export: the content file (- for standard input)."));
    parser.addOptions({
        {QStringLiteral("into"), QStringLiteral("import: the content file whose free telephone rows take the numbers."), QStringLiteral("file")},
        {QStringLiteral("region"), QStringLiteral("import: the country of numbers written without one, as an ISO code "
                                                  "(default: that of the --into file's SMS centre, else HU)."), QStringLiteral("code")},
        {QStringLiteral("encoding"), QStringLiteral("import: the contacts file's encoding, e.g. windows-1250 (default: found from its bytes)."),
         QStringLiteral("name")},
        {QStringLiteral("name-column"), QStringLiteral("import: a table's column of names, by heading or number from 1; repeat for "
                                                       "a name in parts."), QStringLiteral("column")},
        {QStringLiteral("number-column"), QStringLiteral("import: a table's column of numbers, by heading or number from 1; repeat "
                                                         "for more (default: every column whose heading names a telephone)."),
         QStringLiteral("column")},
        {QStringLiteral("only"), QStringLiteral("import: only this contact, by name or line; repeat for more. A landline goes in "
                                                "only so."), QStringLiteral("name|line")},
        {QStringLiteral("alarm"), QStringLiteral("import: the inputs whose alarm the numbers get, e.g. 1,2."), QStringLiteral("inputs")},
        {QStringLiteral("control"), QStringLiteral("import: the outputs the numbers may switch, e.g. 3,4."), QStringLiteral("outputs")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("import: the content file to write (default: the --into file; - for standard output); "
                        "export: the contacts file to write (- for standard output)."),
         QStringLiteral("file")},
        {QStringLiteral("format"), QStringLiteral("export: csv or vcard (default: by the output's suffix, .vcf or .vcard for vCard)."),
         QStringLiteral("format")},
    });
}

int PhonesCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return fail(Refused, Usage);
    if (arguments.first() == QLatin1String("import"))
        return importNumbers(parser, arguments[1]);
    if (arguments.first() == QLatin1String("export"))
        return exportNumbers(parser, arguments[1]);
    return fail(Refused, Usage);
}

int PhonesCommand::importNumbers(QCommandLineParser &parser, const QString &contactsPath)
{
    const QString into = parser.value(QStringLiteral("into"));
    const auto alarm = numberList(parser.value(QStringLiteral("alarm")), {1, 2});
    const auto control = numberList(parser.value(QStringLiteral("control")), {3, 4});
    if (into.isEmpty())
        return fail(Refused, Usage);
    if (!alarm || !control)
        return fail(Refused, !alarm ? QStringLiteral("--alarm takes the inputs 1 and 2, as 1,2") : QStringLiteral("--control takes the outputs 3 and 4, as 3,4"));
    std::optional<FormValues> form = loadForm(into, LongValues::Cut);
    if (!form)
        return Refused;
    const QString region = parser.isSet(QStringLiteral("region")) ? parser.value(QStringLiteral("region")).toUpper() : formRegion(*form);
    if (!numberRegions().contains(region))
        return fail(Refused, QStringLiteral("--region %1: no country of that code").arg(region));
    const std::optional<ContactsRead> read = readContactsFile(parser, contactsPath);
    if (!read)
        return Refused;
    const QList<ImportEntry> entries = classifyContacts(read->contacts, *form, region);
    const QStringList only = parser.values(QStringLiteral("only"));
    QStringList lines = {QStringLiteral("read as %1%2; numbers without a country as %3 (+%4)%5")
                             .arg(read->text.encoding, read->text.detected ? QStringLiteral(" (found from its bytes)") : QString(), region)
                             .arg(callingCode(region))
                             .arg(parser.isSet(QStringLiteral("region")) ? QString() : QStringLiteral(", the form's"))};
    const ImportPermissions given{alarm->contains(1), alarm->contains(2), control->contains(3), control->contains(4)};
    QList<ChosenNumber> chosen;
    for (const ImportEntry &entry : entries) {
        lines << entryLine(entry);
        if (entry.contact.row >= 0 && (only.isEmpty() ? entry.kind() == ImportClass::Import : isChoosable(entry.reason) && picked(only, entry)))
            chosen.append({entry.stored, entry.contact.permissions.value_or(given), entry.contact.name, entry.contact.type, entry.contact.row});
    }
    const QString output = parser.isSet(QStringLiteral("output")) ? parser.value(QStringLiteral("output")) : into;
    // With the content file on standard output, what was imported is told on
    // standard error.
    std::FILE *const reportTo = output == QLatin1String("-") ? stderr : stdout;
    if (!quiet() && !printLines(reportTo, lines))
        return NotRecorded;
    if (chosen.isEmpty())
        return fail(Refused, QStringLiteral("%1: no number to import; nothing was written").arg(contactsPath));
    const std::optional<QList<int>> rows = placeChosen(*form, chosen);
    const qsizetype free = freeTelephoneRows(*form).size();
    if (!rows)
        return fail(Refused, QStringLiteral("%1 numbers to import, but %2 free telephone %3; nothing was written (pick them with --only)")
                                 .arg(chosen.size()).arg(free).arg(free == 1 ? QStringLiteral("row") : QStringLiteral("rows")));
    const int code = writeContent(output, *form);
    if (code == Success && !keepNames(output, chosen))
        return NotRecorded;
    const ImportCounts counts = countClasses(entries);
    const QString summary = QStringLiteral("imported %1 into rows %2; not imported: warnings %3, errors %4")
                                .arg(rows->size()).arg(rowsSaid(*rows)).arg(counts.warnings).arg(counts.errors);
    if (code == Success && !quiet() && !printLines(reportTo, {summary}))
        return NotRecorded;
    return code;
}

// The contacts, as their file and the command line's choices give them; a
// refusal already said.
std::optional<ContactsRead> PhonesCommand::readContactsFile(const QCommandLineParser &parser, const QString &path) const
{
    const ManifestBytes bytes = readManifestBytes(path);
    if (bytes.problem != ManifestBytes::Problem::None) {
        fail(Refused, QStringLiteral("%1: %2").arg(path, Phrase::fileBytesProblem(bytes, false)));
        return std::nullopt;
    }
    ContactChoice choice;
    choice.encoding = parser.value(QStringLiteral("encoding"));
    if (!choice.encoding.isEmpty() && decodeBytes("x", choice.encoding).isEmpty()) {
        fail(Refused, QStringLiteral("--encoding %1: no encoding of that name").arg(choice.encoding));
        return std::nullopt;
    }
    ContactsRead read = readContacts(bytes.bytes, choice);
    QString unknown;
    if (!read.vCard && read.problem != ContactsRead::Problem::UnterminatedQuote) {
        if ((choice.columns = namedColumns(parser, read.table, &unknown)) && unknown.isEmpty())
            read = readContacts(bytes.bytes, choice);
    }
    if (!unknown.isEmpty()) {
        fail(Refused, QStringLiteral("%1: no column \"%2\"").arg(path, unknown));
        return std::nullopt;
    }
    switch (read.problem) {
    case ContactsRead::Problem::None:
        return read;
    case ContactsRead::Problem::UnterminatedQuote:
        fail(Refused, QStringLiteral("%1: row %2: a quote is never closed").arg(path).arg(read.badRow));
        return std::nullopt;
    case ContactsRead::Problem::NoNumberColumn:
        fail(Refused, QStringLiteral("%1: no column of telephone numbers (name it with --number-column)").arg(path));
        return std::nullopt;
    }
    return std::nullopt;
}

int PhonesCommand::exportNumbers(QCommandLineParser &parser, const QString &contentPath)
{
    const QString output = parser.value(QStringLiteral("output"));
    const QString format = parser.value(QStringLiteral("format")).toLower();
    if (output.isEmpty() || (!format.isEmpty() && format != QLatin1String("csv") && format != QLatin1String("vcard")))
        return fail(Refused, Usage);
    const std::optional<FormValues> form = loadForm(contentPath, LongValues::Cut);
    if (!form)
        return Refused;
    const PhoneExportFormat as = format.isEmpty() ? exportFormatOf(output)
                               : format == QLatin1String("vcard") ? PhoneExportFormat::VCard : PhoneExportFormat::Table;
    const RowName name = [](int row) { return QStringLiteral("Telephone %1").arg(row); };
    return writeDocument(output, exportedNumbers(as, *form, phoneBookBeside(contentPath), name));
}

// The phone book beside a content file: empty for standard input or when
// there is none.
PhoneBook PhonesCommand::phoneBookBeside(const QString &contentPath)
{
    if (contentPath == QLatin1String("-"))
        return {};
    const ManifestBytes read = readManifestBytes(phoneBookPath(contentPath));
    return read.problem == ManifestBytes::Problem::None ? readPhoneBook(read.bytes) : PhoneBook{};
}

// The imported numbers' names and kinds, kept in the phone book beside the
// content file written; false, said, when it could not be written.
bool PhonesCommand::keepNames(const QString &output, const QList<ChosenNumber> &chosen) const
{
    if (output == QLatin1String("-"))
        return true;
    PhoneBook book = phoneBookBeside(output);
    bool named = false;
    for (const ChosenNumber &number : chosen) {
        if (number.name.isEmpty() && number.type.isEmpty())
            continue;
        book.byNumber.insert(number.number, {number.name, number.type});
        named = true;
    }
    if (!named)
        return true;
    const std::optional<FormValues> form = loadForm(output, LongValues::Cut);
    const QString path = phoneBookPath(output);
    if (const FileError error = form ? writeWholeFile(path, phoneBookBytes(book, *form), OutputFile::Readers::OwnerOnly) : FileError{}) {
        fail(NotRecorded, Phrase::cannotWrite(path, error));
        return false;
    }
    return true;
}
