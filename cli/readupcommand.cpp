#include "readupcommand.h"

#include "core/content/contentfile.h"
#include "core/journal/sharedjournal.h"
#include "phrases.h"
#include "portjobs.h"
#include "portrun.h"
#include "standardoutput.h"

QString ReadupCommand::summary() const
{
    return QStringLiteral("Read the module's content into a content file, or to standard output.");
}

void ReadupCommand::configure(QCommandLineParser &parser)
{
    parser.addOptions({
        {{QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("The port: COM1, ttyUSB0 or a device path."), QStringLiteral("port")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("Write the content file to <file> (default, and -: standard output)."),
         QStringLiteral("file")},
    });
    addLinkOptions(parser);
    addJournalOptions(parser);
    addOutputOptions(parser);
}

int ReadupCommand::execute(QCommandLineParser &parser)
{
    const QStringList ports = parser.values(QStringLiteral("port"));
    if (ports.size() != 1 || !parser.positionalArguments().isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli readup --port P [-o FILE]"));
    if (!checkPorts(ports))
        return Refused;
    std::optional<LinkSettings> settings = linkSettings(parser);
    if (!settings)
        return Refused;
    const QString given = parser.value(QStringLiteral("output"));
    const QString output = given == QLatin1String("-") ? QString() : given;  // "-": standard output
    // Where the content goes is known to take it before the module is asked.
    std::unique_ptr<OutputFile> file;
    if (!output.isEmpty()) {
        file = std::make_unique<OutputFile>(output, OutputFile::Readers::OwnerOnly);  // the PIN is in it
        if (const FileError error = file->error())
            return fail(Refused, Phrase::cannotWrite(output, error));
    } else if (!StandardOutput::isUsable()) {
        return fail(Refused, QStringLiteral("standard output is closed"));
    } else if (!contentMayGoToStandardOutput()) {
        return Refused;
    }

    std::unique_ptr<SharedJournal> journal;
    if (!openJournal(parser, &journal))
        return Refused;

    FormValues values;
    Result result = runOnPorts(ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt,
                                                    ProgressBars &bars) {
        LinkSettings own = *settings;
        own.Port = port;
        const PortContext context(row, interrupt, bars, journal.get());
        return file ? readUpToFilePort(*file, own, context, Stage::Readup) : readUpPort(own, context, &values);
    }).first();

    // Exactly the file the window saves after a read-up, or nothing.
    if (!file && result.code == Success) {
        if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(values)) {
            result.code = ModuleFailed;
            result.message = QStringLiteral("the module's content cannot be kept in a content file: ") + Phrase::unsavable(*problem);
        } else if (!StandardOutput::write(ContentFile::serialize(values))) {
            result.code = NotRecorded;
            result.message = QStringLiteral("cannot write to standard output: ") + Phrase::fileError(StandardOutput::finish());
        }
    }
    // Standard output carries the file itself when no -o is given.
    report(result, !file);
    return result.code;
}
