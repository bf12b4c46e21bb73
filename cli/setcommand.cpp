#include "commands.h"

#include "content/contentedit.h"
#include "content/contentfile.h"
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
}

namespace {

QString editRefusal(const EditRefusal &refusal)
{
    switch (refusal.reason) {
    case EditRefusal::Reason::NotAnAssignment: return QStringLiteral("not NAME=VALUE");
    case EditRefusal::Reason::NoSuchField: return QStringLiteral("no such field");
    case EditRefusal::Reason::NotABoxValue: return QStringLiteral("a check box takes 1 or 0");
    case EditRefusal::Reason::TooLong: return QStringLiteral("longer than the field's %1 characters").arg(refusal.maxLength);
    case EditRefusal::Reason::Refused: return Phrase::refusalReason(refusal.refusal, LinkSettings().DownloadSeparator);
    }
    return {};
}

} // namespace

int SetCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    const QString output = parser.value(QStringLiteral("output"));
    if (arguments.isEmpty() || output.isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli set TEMPLATE NAME=VALUE ... -o OUT"));
    std::optional<FormValues> form = loadForm(arguments.first());
    if (!form)
        return Refused;
    if (const std::optional<EditRefusal> refusal = applyAssignments(*form, arguments.mid(1)))
        return fail(Refused, QStringLiteral("%1: %2. Nothing was written.").arg(refusal->assignment, editRefusal(*refusal)));
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(*form))
        return fail(Refused, Phrase::unsavable(*problem) + QStringLiteral(". Nothing was written."));
    if (output == QLatin1String("-"))
        return print(stdout, ContentFile::serialize(*form)) ? Success : NotRecorded;
    OutputFile file(output);
    if (file.write(ContentFile::serialize(*form)))
        file.commit();
    if (const FileError error = file.error())
        return fail(Refused, QStringLiteral("cannot write %1: %2").arg(output, Phrase::fileError(error)));
    if (json()) {
        Result result;
        result.operation = name();
        result.output = output;
        report(result);
    }
    return Success;
}
