#include "diffcommand.h"

#include "core/plan/transferplan.h"

QString DiffCommand::summary() const
{
    return QStringLiteral("Name every field in which two content files differ as a module would hold them (exit code 1 when they do).");
}

void DiffCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("a"), QStringLiteral("The first content file."));
    parser.addPositionalArgument(QStringLiteral("b"), QStringLiteral("The second content file."));
    parser.addOption({QStringLiteral("json"), QStringLiteral("The result as one JSON object.")});
}

int DiffCommand::execute(QCommandLineParser &parser)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2 || files.count(QStringLiteral("-")) > 1)
        return fail(Refused, QStringLiteral("usage: tavir340-cli diff A B (standard input, -, at most once)"));
    const std::optional<FormValues> first = loadForm(files[0]);
    const std::optional<FormValues> second = loadForm(files[1]);
    if (!first || !second)
        return Refused;
    Result result;
    result.operation = QStringLiteral("diff");
    result.firstName = QStringLiteral("a");
    result.secondName = QStringLiteral("b");
    result.differences = compareAsStored(*first, *second);
    if (!result.differences.isEmpty()) {
        result.code = ModuleFailed;
        result.message = QStringLiteral("%1 field(s) differ").arg(result.differences.size());
    }
    report(result);
    return result.code;
}
