#include "phonescommand.h"

#include "core/content/manifestfile.h"
#include "core/phones/contactsfile.h"
#include "core/phones/phoneexport.h"
#include "core/phones/phoneimport.h"
#include "core/phones/phonenumber.h"
#include "phrases.h"

#include <QFileInfo>

#include <cstring>

namespace {

const QString Usage = QStringLiteral("usage: tavir340-cli phones import CONTACTS.vcf|CONTACTS.csv --into FILE.t16 [--region HU] "
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

QString contactsProblem(const ManifestBytes &read)
{
    switch (read.problem) {
    case ManifestBytes::Problem::None: break;
    case ManifestBytes::Problem::Unreadable: return QString::fromLocal8Bit(std::strerror(read.error));
    case ManifestBytes::Problem::NotRegularFile: return QStringLiteral("not a regular file");
    case ManifestBytes::Problem::TooLarge: return QStringLiteral("larger than %1 MiB").arg(ManifestBytes::MaxBytes / (1024 * 1024));
    }
    return {};
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
        {QStringLiteral("region"), QStringLiteral("import: the country of numbers written without one, as an ISO code (default %1).")
                                       .arg(defaultRegion(QLocale::system())), QStringLiteral("code")},
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
    const QString region = parser.isSet(QStringLiteral("region")) ? parser.value(QStringLiteral("region")).toUpper()
                                                                   : defaultRegion(QLocale::system());
    const auto alarm = numberList(parser.value(QStringLiteral("alarm")), {1, 2});
    const auto control = numberList(parser.value(QStringLiteral("control")), {3, 4});
    if (into.isEmpty())
        return fail(Refused, Usage);
    if (!numberRegions().contains(region))
        return fail(Refused, QStringLiteral("--region %1: no country of that code").arg(region));
    if (!alarm || !control)
        return fail(Refused, !alarm ? QStringLiteral("--alarm takes the inputs 1 and 2, as 1,2") : QStringLiteral("--control takes the outputs 3 and 4, as 3,4"));
    std::optional<FormValues> form = loadForm(into, LongValues::Cut);
    if (!form)
        return Refused;
    const ManifestBytes read = readManifestBytes(contactsPath);
    if (read.problem != ManifestBytes::Problem::None)
        return fail(Refused, QStringLiteral("%1: %2").arg(contactsPath, contactsProblem(read)));
    const QString text = contactsText(read.bytes);
    QList<Contact> contacts;
    if (isVCardText(text)) {
        contacts = readVCards(text);
    } else {
        const ContactTable table = readContactTable(text);
        if (table.badRow)
            return fail(Refused, QStringLiteral("%1: row %2: a quote is never closed").arg(contactsPath).arg(table.badRow));
        if (table.columns.number < 0)
            return fail(Refused, QStringLiteral("%1: no column of telephone numbers (give it a heading such as \"number\")").arg(contactsPath));
        contacts = tableContacts(table, table.columns);
    }
    const QList<ImportEntry> entries = classifyContacts(contacts, *form, region);
    QStringList lines, clean;
    for (const ImportEntry &entry : entries) {
        lines << entryLine(entry);
        if (entry.kind() == ImportClass::Import)
            clean << entry.stored;
    }
    const QString output = parser.isSet(QStringLiteral("output")) ? parser.value(QStringLiteral("output")) : into;
    // With the content file on standard output, what was imported is told on
    // standard error.
    std::FILE *const reportTo = output == QLatin1String("-") ? stderr : stdout;
    if (!quiet() && !printLines(reportTo, lines))
        return NotRecorded;
    const ImportPermissions permissions{alarm->contains(1), alarm->contains(2), control->contains(3), control->contains(4)};
    const std::optional<QList<int>> rows = placeNumbers(*form, clean, permissions);
    if (!rows)
        return fail(Refused, QStringLiteral("%1 numbers to import, but %2 free telephone %3; nothing was written")
                                 .arg(clean.size())
                                 .arg(freeTelephoneRows(*form).size())
                                 .arg(freeTelephoneRows(*form).size() == 1 ? QStringLiteral("row") : QStringLiteral("rows")));
    const int code = writeContent(output, *form);
    const ImportCounts counts = countClasses(entries);
    const QString summary = QStringLiteral("imported %1%2; not imported: warnings %3, errors %4")
                                .arg(rows->size())
                                .arg(rows->isEmpty() ? QString() : QStringLiteral(" into rows ") + rowsSaid(*rows))
                                .arg(counts.warnings)
                                .arg(counts.errors);
    if (code == Success && !quiet() && !printLines(reportTo, {summary}))
        return NotRecorded;
    return code;
}

int PhonesCommand::exportNumbers(QCommandLineParser &parser, const QString &contentPath)
{
    const QString output = parser.value(QStringLiteral("output"));
    QString format = parser.value(QStringLiteral("format")).toLower();
    if (format.isEmpty()) {
        const QString suffix = QFileInfo(output).suffix().toLower();
        format = suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard") ? QStringLiteral("vcard") : QStringLiteral("csv");
    }
    if (output.isEmpty() || (format != QLatin1String("csv") && format != QLatin1String("vcard")))
        return fail(Refused, Usage);
    const std::optional<FormValues> form = loadForm(contentPath, LongValues::Cut);
    if (!form)
        return Refused;
    const RowName name = [](int row) { return QStringLiteral("Telephone %1").arg(row); };
    return writeDocument(output, format == QLatin1String("csv") ? numbersCsv(*form, name) : numbersVCard(*form, name));
}
