// tavir340-cli: the Tavir-340 configuration tool's command line, for
// provisioning many modules from scripts. It runs on the same core as the
// window: the same content files, records, answers and serial link.

#include "commands.h"

#include "core/content/contentfile.h"
#include "phrases.h"
#include "standardoutput.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void printUsage(std::FILE *stream)
{
    QString text = QStringLiteral(
        "Usage: tavir340-cli <command> [options]\n"
        "\n"
        "Configures Tavir-340 GSM modules over serial ports, without the window.\n"
        "\n"
        "Commands:\n");
    for (const auto &command : allCommands())
        text += QStringLiteral("  %1%2\n").arg(command->name().leftJustified(11), command->summary());
    text += QStringLiteral(
        "\n"
        "Options:\n"
        "  -h, --help     Show this help; \"tavir340-cli <command> --help\" for a command's own.\n"
        "  -v, --version  Show the version.\n"
        "\n");
    text += QString::fromLatin1(ExitCodeHelp);
    print(stream, text.toLocal8Bit());
}

// The command's code, once what it left on standard output is known to be
// written.
int finished(int code)
{
    if (const FileError error = StandardOutput::finish()) {
        printLines(stderr, {QStringLiteral("tavir340-cli: cannot write to standard output: ") + Phrase::fileError(error)});
        return withOutputFailure(code);
    }
    return code;
}

// Labels, sheets and a report's page are drawn with fonts, which only the GUI
// module has; it runs without a display. Every other command needs the core
// alone.
std::unique_ptr<QCoreApplication> application(int &argc, char *argv[])
{
    bool drawsLabels = argc > 1 && (std::strcmp(argv[1], "label") == 0 || std::strcmp(argv[1], "sheet") == 0);
    for (int i = 2; i < argc; ++i)
        drawsLabels = drawsLabels || std::strncmp(argv[i], "--labels", 8) == 0 || std::strcmp(argv[i], "--pdf") == 0;
    if (!drawsLabels)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    StandardOutput::guard();
    const std::unique_ptr<QCoreApplication> app = application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavir340-cli"));
    // The link's debug lines repeat what each result says; QT_LOGGING_RULES
    // can bring them back.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIR340_VERSION));
    const QStringList arguments = QCoreApplication::arguments();

    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        printUsage(stderr);
        return Refused;
    }
    if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("help")) {
        printUsage(stdout);
        return finished(Success);
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        StandardOutput::write(QByteArrayLiteral("tavir340-cli " TAVIR340_VERSION "\n"));
        return finished(Success);
    }
    for (const auto &command : allCommands()) {
        if (command->name() == first)
            return finished(command->run(QStringList{arguments.first()} + arguments.mid(2)));
    }
    printLines(stderr, {QStringLiteral("tavir340-cli: no command \"%1\"; see tavir340-cli --help").arg(first)});
    return Refused;
}
