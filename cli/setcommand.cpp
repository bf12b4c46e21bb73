#include "commands.h"

#include "content/contentfile.h"
#include "form/formedit.h"

QString SetCommand::summary() const
{
    return QStringLiteral("Copy a content file with named fields changed, each checked by the form's rules.");
}

void SetCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("template"), QStringLiteral("The content file to start from."));
    parser.addPositionalArgument(QStringLiteral("assignments"),
                                 QStringLiteral("NAME=VALUE by the form's object names: m_nev=KAPU, t1=36201234567, tc1_3=1."),
                                 QStringLiteral("NAME=VALUE..."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The content file to write."),
                      QStringLiteral("file")});
}

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
        return fail(Refused, QStringLiteral("%1: %2 Nothing was written.").arg(refusal->assignment, refusal->reason));
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(*form))
        return fail(Refused, ContentFile::describe(*problem) + QStringLiteral(" Nothing was written."));
    if (ContentFile::save(output, *form) != ContentFile::SaveStatus::Saved)
        return fail(Refused, QStringLiteral("cannot write ") + output);
    return Success;
}
