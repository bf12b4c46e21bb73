#include "setcommand.h"

#include "core/content/contentedit.h"
#include "core/content/contentfile.h"
#include "phrases.h"

QString SetCommand::summary() const
{
    return QStringLiteral("Copy a content file with named fields changed, each checked as a download checks it.");
}

void SetCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("template"), QStringLiteral("The content file to start from."));
    parser.addPositionalArgument(QStringLiteral("assignments"),
                                 QStringLiteral("NAME=VALUE by the form's object names: m_nev=KAPU, t1=36201234567, tc1_3=1."),
                                 QStringLiteral("NAME=VALUE..."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The content file to write (- for standard output)."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("The result as one JSON object.")});
    addLinkOptions(parser);
}

int SetCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    const QString output = parser.value(QStringLiteral("output"));
    if (arguments.isEmpty() || output.isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli set TEMPLATE NAME=VALUE ... -o OUT"));
    const std::optional<LinkSettings> settings = linkSettings(parser);
    std::optional<FormValues> form = loadForm(arguments.first(), LongValues::Cut);
    if (!settings || !form)
        return Refused;
    if (const std::optional<EditRefusal> refusal = applyAssignments(*form, arguments.mid(1), *settings))
        return fail(Refused, QStringLiteral("%1: %2. Nothing was written.")
                                 .arg(refusal->assignment, Phrase::editRefusal(*refusal, settings->DownloadSeparator)));
    if (const int code = writeContent(output, *form); code != Success)
        return code;
    QStringList warnings;
    for (const UnstoredNumber &number : unstoredNumbers(*form))
        warnings << QStringLiteral("warning: ") + Phrase::unstored(number);
    printLines(stderr, warnings);
    if (output == QLatin1String("-"))
        return Success;
    if (json()) {
        Result result;
        result.operation = name();
        result.output = output;
        report(result);
    }
    return Success;
}
