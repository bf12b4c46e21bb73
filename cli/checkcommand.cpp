#include "commands.h"

#include "phrases.h"
#include "transfer/contentrecord.h"

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
        QList<int> cut;
        const std::optional<FormValues> form = loadForm(file, &cut);
        if (!form) {
            code = Refused;
            continue;
        }
        // A value longer than its field is cut by the window without a word;
        // here it is named.
        QStringList lines;
        QJsonArray problems;
        for (int field : std::as_const(cut)) {
            const QString reason = QStringLiteral("longer than the field's %1 characters").arg(lineEditCatalogue()[field].maxLength);
            lines << QStringLiteral("%1: %2: %3").arg(file, Phrase::field(field), reason);
            problems.append(QJsonObject{{QStringLiteral("field"), lineEditCatalogue()[field].name},
                                        {QStringLiteral("caption"), fieldTitle(field)},
                                        {QStringLiteral("rule"), QStringLiteral("tooLong")},
                                        {QStringLiteral("message"), reason}});
        }
        for (const RecordResult &refusal : downloadRefusals(*form, *settings)) {
            const bool field = refusal.field >= 0;
            lines << QStringLiteral("%1: %2").arg(file, Phrase::refusal(refusal, settings->DownloadSeparator));
            problems.append(QJsonObject{
                {QStringLiteral("field"), field ? QJsonValue(lineEditCatalogue()[refusal.field].name) : QJsonValue()},
                {QStringLiteral("caption"), field ? QJsonValue(fieldTitle(refusal.field)) : QJsonValue()},
                {QStringLiteral("rule"), Phrase::ruleName(refusal)},
                {QStringLiteral("message"), Phrase::refusalReason(refusal, settings->DownloadSeparator)}});
        }
        if (!lines.isEmpty())
            code = Refused;
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
