#include "checkcommand.h"

#include "core/plan/transferplan.h"

#include "phrases.h"
#include "core/record/contentrecord.h"

#include <QJsonDocument>

QString CheckCommand::summary() const
{
    return QStringLiteral("Check content files by every rule a download applies, without a port.");
}

void CheckCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("The content files (- for standard input)."),
                                 QStringLiteral("FILE..."));
    addLinkOptions(parser);
    addOutputOptions(parser);
}

int CheckCommand::execute(QCommandLineParser &parser)
{
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.count(QStringLiteral("-")) > 1)
        return fail(Refused, QStringLiteral("usage: tavir340-cli check FILE... (standard input at most once)"));
    const std::optional<LinkSettings> settings = linkSettings(parser);
    if (!settings)
        return Refused;
    int code = Success;
    for (const QString &file : files) {
        QList<ContentFile::LoadResult::Cut> cut;
        const std::optional<FormValues> form = loadForm(file, LongValues::Cut, &cut);
        if (!form) {
            code = Refused;
            continue;
        }
        // A value longer than its field is cut by the window without a word;
        // here it is named.
        QStringList lines;
        QJsonArray problems;
        for (const ContentFile::LoadResult::Cut &value : std::as_const(cut)) {
            const QString &name = lineEditCatalogue()[value.field].name;
            lines << QStringLiteral("%1: %2").arg(file, Phrase::tooLong(value.field, value.length));
            problems.append(QJsonObject{{QStringLiteral("field"), name},
                                        {QStringLiteral("caption"), Phrase::caption(name)},
                                        {QStringLiteral("rule"), QStringLiteral("tooLong")},
                                        {QStringLiteral("length"), int(value.length)},
                                        {QStringLiteral("message"), Phrase::longerThan(lineEditCatalogue()[value.field].maxLength)}});
        }
        for (const RecordResult &refusal : planTransfer(*form, *settings, RecordPurpose::Download).refusals) {
            const bool field = refusal.field >= 0;
            const QString name = field ? lineEditCatalogue()[refusal.field].name : QString();
            lines << QStringLiteral("%1: %2").arg(file, Phrase::refusal(refusal, settings->DownloadSeparator));
            problems.append(QJsonObject{
                {QStringLiteral("field"), field ? QJsonValue(name) : QJsonValue()},
                {QStringLiteral("caption"), field ? QJsonValue(Phrase::caption(name)) : QJsonValue()},
                {QStringLiteral("rule"), Phrase::ruleName(refusal)},
                {QStringLiteral("message"), Phrase::refusalReason(refusal, settings->DownloadSeparator)}});
        }
        if (!lines.isEmpty())
            code = Refused;
        // Numbers the module would dial as written, not as a person meant
        // them: said, but no refusal.
        QStringList warnings;
        for (const UnstoredNumber &number : unstoredNumbers(*form))
            warnings << QStringLiteral("%1: warning: %2").arg(file, Phrase::unstored(number));
        printLines(stderr, warnings);
        if (json()) {
            const QJsonObject object{{QStringLiteral("file"), file},
                                     {QStringLiteral("result"), lines.isEmpty() ? QStringLiteral("ok") : QStringLiteral("refused")},
                                     {QStringLiteral("problems"), problems}};
            print(stdout, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
        } else {
            printLines(stdout, lines.isEmpty() ? QStringList{file + QStringLiteral(": ok")} : lines);
        }
    }
    return code;
}
