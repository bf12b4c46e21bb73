#include "sheetcommand.h"

#include "core/form/handoversheet.h"
#include "core/storage/outputfile.h"
#include "labels/sheetpdf.h"
#include "phrases.h"

#include <QDate>

namespace {

QString yesOrNot(bool yes)
{
    return yes ? QStringLiteral("yes") : QStringLiteral("-");
}

// The sheet in the command line's words.
SheetPage englishPage(const HandoverSheet &sheet, bool withPin, const QString &installer)
{
    SheetPage page;
    page.title = QStringLiteral("Tavir-340 module: %1").arg(sheet.moduleName.isEmpty() ? QStringLiteral("(no name)") : sheet.moduleName);
    page.facts = {
        {QStringLiteral("Module name"), sheet.moduleName},
        {QStringLiteral("Module identifier"), sheet.moduleId},
        {QStringLiteral("PIN"), withPin ? sheet.pin : QStringLiteral("(not printed)")},
        {QStringLiteral("Relay time"), sheet.relayTime},
        {QStringLiteral("Restore"), sheet.restore},
        {QStringLiteral("Input 1"), sheet.input1Name},
        {QStringLiteral("Input 2"), sheet.input2Name},
        {QStringLiteral("Date"), QDate::currentDate().toString(Qt::ISODate)},
    };
    page.tableHeader = {QStringLiteral("#"), QStringLiteral("Telephone"), QStringLiteral("Alarmed by input 1"),
                        QStringLiteral("Alarmed by input 2"), QStringLiteral("Controls output 3"), QStringLiteral("Controls output 4")};
    for (const HandoverRow &row : sheet.rows)
        page.tableRows.append({QString::number(row.row), row.number, yesOrNot(row.alarmedByInput1), yesOrNot(row.alarmedByInput2),
                               yesOrNot(row.controlsOutput3), yesOrNot(row.controlsOutput4)});
    for (const auto &[field, text] : sheet.texts)
        page.moreFacts.append({Phrase::caption(lineEditCatalogue()[field].name), text});
    page.footer = installer.isEmpty() ? QString() : QStringLiteral("Installed by: %1").arg(installer);
    return page;
}

} // namespace

QString SheetCommand::summary() const
{
    return QStringLiteral("Make the customer's hand-over sheet of a content file as a one-page PDF.");
}

void SheetCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The content file (- for standard input)."));
    parser.addOptions({
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The PDF to write (-: standard output)."), QStringLiteral("file")},
        {QStringLiteral("with-pin"), QStringLiteral("Print the module's PIN; it is left out otherwise.")},
        {QStringLiteral("installer"), QStringLiteral("The installer's name and company, at the foot of the page."), QStringLiteral("text")},
    });
}

int SheetCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1 || !parser.isSet(QStringLiteral("output")))
        return fail(Refused, QStringLiteral("usage: tavir340-cli sheet FILE -o FILE.pdf [--with-pin] [--installer TEXT]"));
    const std::optional<FormValues> form = loadForm(arguments.first(), LongValues::Cut);
    if (!form)
        return Refused;
    const SheetPage page = englishPage(handoverSheet(*form), parser.isSet(QStringLiteral("with-pin")),
                                       parser.value(QStringLiteral("installer")));
    return writeDocument(parser.value(QStringLiteral("output")), sheetPdf(page));
}
