#include "commands.h"

#include "content/contentfile.h"
#include "moduleoperations.h"
#include "portrun.h"

#include <cstdio>

QString ReadupCommand::summary() const
{
    return QStringLiteral("Read the module's content into a content file, or to standard output.");
}

void ReadupCommand::configure(QCommandLineParser &parser)
{
    parser.addOptions({
        {{QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("The port: COM1, ttyUSB0 or a device path."), QStringLiteral("port")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("Write the content file to <file> (default: standard output)."),
         QStringLiteral("file")},
    });
    addLinkOptions(parser);
    addOutputOptions(parser);
}

int ReadupCommand::execute(QCommandLineParser &parser)
{
    const QStringList ports = parser.values(QStringLiteral("port"));
    if (ports.size() != 1 || !parser.positionalArguments().isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli readup --port P [-o FILE]"));
    std::optional<LinkSettings> settings = linkSettings(parser);
    if (!settings)
        return Refused;
    const QString output = parser.value(QStringLiteral("output"));

    FormValues values;
    Result result = runOnPorts(ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt,
                                                    ProgressBars &bars) {
        LinkSettings own = *settings;
        own.Port = port;
        return readModule(own, {row, &interrupt, &bars}, &values);
    }).first();

    // Exactly the file the window saves after a read-up, or nothing.
    if (result.code == Success) {
        if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(values)) {
            result.code = ModuleFailed;
            result.message = QStringLiteral("the module's content cannot be saved: ") + ContentFile::describe(*problem);
        } else if (output.isEmpty()) {
            const QByteArray bytes = ContentFile::serialize(values);
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
            std::fflush(stdout);
        } else if (ContentFile::save(output, values) != ContentFile::SaveStatus::Saved) {
            result.code = Refused;
            result.message = QStringLiteral("cannot write ") + output;
        } else {
            result.output = output;
        }
    }
    // Standard output carries the file itself when no -o is given.
    report(result, output.isEmpty());
    return result.code;
}
