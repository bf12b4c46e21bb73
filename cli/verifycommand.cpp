#include "commands.h"

#include "journal/sharedjournal.h"
#include "portjobs.h"
#include "portrun.h"
#include "transfer/contentrecord.h"
#include "transfer/moduleexchange.h"

#include <QFileInfo>

QString VerifyCommand::summary() const
{
    return QStringLiteral("Check that the module on each --port holds a content file; name every field that differs.");
}

void VerifyCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The content file (.t16) the modules should hold."));
    parser.addOption({{QStringLiteral("p"), QStringLiteral("port")},
                      QStringLiteral("A port: COM1, ttyUSB0 or a device path. Repeat for more modules."), QStringLiteral("port")});
    addLinkOptions(parser);
    addJournalOptions(parser);
    addDryRunOption(parser);
    addOutputOptions(parser);
}

int VerifyCommand::execute(QCommandLineParser &parser)
{
    const QStringList files = parser.positionalArguments();
    const QStringList ports = parser.values(QStringLiteral("port"));
    if (files.size() != 1 || ports.isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli verify FILE --port P [--port P2 ...]"));
    if (!checkPorts(ports))
        return Refused;
    std::optional<LinkSettings> settings = linkSettings(parser);
    const std::optional<FormValues> form = loadForm(files.first());
    if (!settings || !form)
        return Refused;
    LinkSettings checked = *settings;
    if (buildContentRecord(*form, checked, RecordPurpose::Verify).error != RecordError::None)
        return fail(Refused, files.first() + QStringLiteral(": refused: a field holds a character the module cannot store"));

    if (parser.isSet(QStringLiteral("dry-run"))) {
        // The request, and the answer a module that holds the file gives.
        QList<QByteArray> answer;
        for (const QByteArray &field : linePieces(checked.RecordText.chopped(1), checked.DownloadSeparator))
            answer << field + char(PieceEnd);
        return printDryRun(ports, {QByteArray() + char(RequestByte) + settings->UploadCommand}, answer) ? Success : NotRecorded;
    }
    std::unique_ptr<SharedJournal> journal;
    if (!openJournal(parser, &journal))
        return Refused;

    const QList<Result> results = runOnPorts(ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt,
                                                                  ProgressBars &bars) {
        LinkSettings own = *settings;
        own.Port = port;
        PortContext context(row, interrupt, bars, journal.get());
        context.file = QFileInfo(files.first()).absoluteFilePath();
        return verifyPort(own, *form, context);
    });
    for (const Result &result : results)
        report(result);
    return worstCode(results);
}
