#include "verifycommand.h"

#include "core/journal/sharedjournal.h"
#include "portjobs.h"
#include "portrun.h"
#include "core/plan/transferplan.h"
#include "phrases.h"
#include "core/link/moduleexchange.h"

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
    const std::optional<LinkSettings> settings = linkSettings(parser);
    const std::optional<FormValues> form = loadForm(files.first());
    if (!settings || !form)
        return Refused;
    const PlannedTransfer planned = planTransfer(*form, *settings, RecordPurpose::Verify);
    if (!planned.plan)
        return fail(Refused, QStringLiteral("%1: refused: %2").arg(files.first(),
                                                                 Phrase::refusal(planned.refusals.first(), settings->DownloadSeparator)));
    // The request, and the answer a module that holds the file gives.
    if (parser.isSet(QStringLiteral("dry-run")))
        return printDryRun(ports, {QByteArray() + char(RequestByte) + settings->UploadCommand}, planned.plan->expectedAnswer())
                 ? Success : NotRecorded;
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
