#include "sheetcommand.h"

#include "core/content/manifestfile.h"
#include "core/form/handoversheet.h"
#include "core/phones/phonebook.h"
#include "labels/handoverpage.h"
#include "labels/language.h"

namespace {

// The phone book beside the content file: its names and the SIM number.
PhoneBook phoneBookOf(const QString &contentPath)
{
    if (contentPath == QLatin1String("-"))
        return {};
    const ManifestBytes read = readManifestBytes(phoneBookPath(contentPath));
    return read.problem == ManifestBytes::Problem::None ? readPhoneBook(read.bytes) : PhoneBook{};
}

} // namespace

QString SheetCommand::summary() const
{
    return QStringLiteral("Make the customer's hand-over sheet of a content file as a one-page PDF.");
}

void SheetCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The content file (- for standard input); the names of its "
                                                                        "numbers come from the phone book beside it."));
    parser.addOptions({
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The PDF to write (-: standard output)."), QStringLiteral("file")},
        {QStringLiteral("with-pin"), QStringLiteral("Print the module's PIN; it is left out otherwise.")},
        {QStringLiteral("installer"), QStringLiteral("The installer's name and company, at the foot of the page."), QStringLiteral("text")},
        {QStringLiteral("lang"), QStringLiteral("The sheet's language: hu or en (default: the environment's, LANGUAGE, LC_ALL, "
                                                "LC_MESSAGES, LANG; English unless Hungarian)."), QStringLiteral("language")},
    });
}

int SheetCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1 || !parser.isSet(QStringLiteral("output")))
        return fail(Refused, QStringLiteral("usage: tavir340-cli sheet FILE -o FILE.pdf [--with-pin] [--installer TEXT] [--lang hu|en]"));
    const QString language = parser.isSet(QStringLiteral("lang")) ? parser.value(QStringLiteral("lang")) : Language::requested();
    if (parser.isSet(QStringLiteral("lang")) && language != QLatin1String("hu") && language != QLatin1String("en"))
        return fail(Refused, QStringLiteral("--lang takes hu or en"));
    const std::optional<FormValues> form = loadForm(arguments.first(), LongValues::Cut);
    if (!form)
        return Refused;
    // The sheet speaks the customer's language; the rest of the command line
    // English.
    const bool hungarian = language.startsWith(QLatin1String("hu"));
    Language::install(hungarian ? QStringLiteral("hu") : QStringLiteral("en"));
    QLocale::setDefault(QLocale(hungarian ? QLocale::Hungarian : QLocale::English));
    const PhoneBook book = phoneBookOf(arguments.first());
    const HandoverSheet sheet = handoverSheet(*form, [&book](const QString &number) { return book.nameOf(number); }, book.simNumber);
    const HandoverOptions options{parser.isSet(QStringLiteral("with-pin")), parser.value(QStringLiteral("installer")), QDate::currentDate()};
    const QByteArray pdf = sheetPdf(handoverPage(sheet, options));
    Language::install({});
    // It holds the PIN when asked to: its owner's alone, as a content file is.
    return writeDocument(parser.value(QStringLiteral("output")), pdf, options.withPin);
}
