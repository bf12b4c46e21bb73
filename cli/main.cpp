// tavir340-cli: the Tavir-340 configuration tool's command line, for
// provisioning many modules from scripts. It runs on the same core as the
// window: the same content files, records, answers and serial link.

#include "commands.h"

#include "content/contentfile.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

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
        text += QStringLiteral("  %1%2\n").arg(command->name().leftJustified(10), command->summary());
    text += QStringLiteral(
        "\n"
        "Options:\n"
        "  -h, --help     Show this help; \"tavir340-cli <command> --help\" for a command's own.\n"
        "  -v, --version  Show the version.\n"
        "\n");
    text += QString::fromLatin1(ExitCodeHelp);
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<PortsCommand>());
    commands.push_back(std::make_unique<DownloadCommand>());
    commands.push_back(std::make_unique<ReadupCommand>());
    commands.push_back(std::make_unique<VerifyCommand>());
    commands.push_back(std::make_unique<DiffCommand>());
    commands.push_back(std::make_unique<SetCommand>());
    return commands;
}

std::optional<FormValues> loadForm(const QString &path)
{
    const ContentFile::LoadResult result = ContentFile::load(path, initialFormValues());
    switch (result.status) {
    case ContentFile::LoadStatus::Loaded:
        return result.values;
    case ContentFile::LoadStatus::Missing:
        std::fprintf(stderr, "tavir340-cli: %s: no such file\n", qPrintable(path));
        break;
    case ContentFile::LoadStatus::Malformed:
        std::fprintf(stderr, "tavir340-cli: %s: not a content file (108 lines)\n", qPrintable(path));
        break;
    }
    return std::nullopt;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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
        return Success;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        std::printf("tavir340-cli %s\n", TAVIR340_VERSION);
        return Success;
    }
    for (const auto &command : allCommands()) {
        if (command->name() == first)
            return command->run(QStringList{arguments.first()} + arguments.mid(2));
    }
    std::fprintf(stderr, "tavir340-cli: no command \"%s\"; see tavir340-cli --help\n", qPrintable(first));
    return Refused;
}
