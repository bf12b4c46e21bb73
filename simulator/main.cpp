// tavir340-sim: plays a Tavir-340 module on a pseudo-terminal, so the tool can
// be tried without hardware. Point the tool's port at the printed path (or at
// the link given with --link).

#include "modulesimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavir340-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIR340_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays a Tavir-340 module on a pseudo-terminal until interrupted.\n"
        "Byte texts take the escapes \\r, \\n, \\\\ and \\xHH."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption link({"l", "link"}, "Also reach the module through a symbolic link at <path>.", "path");
    const QCommandLineOption paced({"p", "paced"}, "Answer at the true 1200 baud pace (8.3 ms a byte).");
    const QCommandLineOption log("log", "Write every byte on the line to <file> (- for standard error).", "file");
    const QCommandLineOption interval("interval", "Send one byte every <ms> milliseconds (a trickling module).", "ms");
    const QCommandLineOption silent("silent", "Never answer.");
    const QCommandLineOption silentFirst("silent-first", "Leave the first <n> requests unanswered, as a module still starting.", "n");
    const QCommandLineOption ready("ready", "Answer a download request with <bytes> (default \"R>\").", "bytes");
    const QCommandLineOption ack("ack", "Acknowledge a download with <bytes> (default \"OK\").", "bytes");
    const QCommandLineOption preamble("preamble", "Send <bytes> before the fields of an upload.", "bytes");
    const QCommandLineOption answer("answer-file", "Answer every upload with the bytes of <file>.", "file");
    const QCommandLineOption hangUp("hangup-after", "Hang up after <n> bytes on the line.", "n");
    const QCommandLineOption command("upload-command", "The upload command character (default \"{\").", "char");
    const QCommandLineOption idle("idle-limit", "Drop a download that stops for <ms> milliseconds (default 7000).", "ms");
    const QCommandLineOption pauseAfter("pause-after", "Take no bytes for a while once <n> have come from the tool.", "n");
    const QCommandLineOption pauseMs("pause-ms", "How long --pause-after takes nothing (default 3000).", "ms");
    const QCommandLineOption checksum("expect-checksum",
        "Refuse (with \"EE\") a download whose checksum suffix is not <mode>'s: 8, 16, 24, 32 (bit sum) or one character.", "mode");
    const QCommandLineOption separator("record-separator", "The tool's download separator, for --expect-checksum (default \"|\").", "char");
    parser.addOptions({link, paced, interval, log, silent, silentFirst, ready, ack, preamble, answer, hangUp, command, idle,
                       pauseAfter, pauseMs, checksum, separator});
    parser.process(app);

    SimulatorOptions options;
    options.linkPath = parser.value(link);
    options.paced = parser.isSet(paced);
    options.byteIntervalMs = parser.value(interval).toInt();
    options.silent = parser.isSet(silent);
    options.silentRequests = parser.value(silentFirst).toInt();
    if (parser.isSet(ready))
        options.readyReply = decodeEscapes(parser.value(ready));
    if (parser.isSet(ack))
        options.ackReply = decodeEscapes(parser.value(ack));
    options.preamble = decodeEscapes(parser.value(preamble));
    if (parser.isSet(answer)) {
        QFile file(parser.value(answer));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "tavir340-sim: cannot read %s\n", qPrintable(file.fileName()));
            return 2;
        }
        options.scriptedAnswer = file.readAll();
    }
    if (parser.isSet(hangUp))
        options.hangUpAfter = parser.value(hangUp).toLongLong();
    if (parser.isSet(idle))
        options.downloadIdleMs = parser.value(idle).toInt();
    if (parser.isSet(pauseAfter)) {
        options.pauseAfter = parser.value(pauseAfter).toLongLong();
        options.pauseMs = parser.isSet(pauseMs) ? parser.value(pauseMs).toInt() : 3000;
    }
    if (parser.isSet(checksum)) {
        const QString mode = parser.value(checksum);
        const int bits = QStringList({"8", "16", "24", "32"}).indexOf(mode);
        options.expectedCheckSize = bits >= 0 ? char(bits) : decodeEscapes(mode).left(1).toStdString()[0];
    }
    if (parser.isSet(separator))
        options.recordSeparator = decodeEscapes(parser.value(separator)).left(1).toStdString()[0];
    if (parser.isSet(command))
        options.uploadCommand = decodeEscapes(parser.value(command)).left(1).toStdString()[0];

    FILE *logFile = nullptr;
    if (parser.isSet(log)) {
        logFile = parser.value(log) == QLatin1String("-")
                      ? stderr
                      : std::fopen(QFile::encodeName(parser.value(log)).constData(), "w");
        if (!logFile) {
            std::fprintf(stderr, "tavir340-sim: cannot write %s\n", qPrintable(parser.value(log)));
            return 2;
        }
        options.onByte = [logFile](bool fromHost, unsigned char byte) {
            const char shown = byte >= 0x20 && byte < 0x7F ? char(byte) : '.';
            std::fprintf(logFile, "%s %02X %c\n", fromHost ? "host->module" : "module->host", byte, shown);
            std::fflush(logFile);
        };
    }

    ModuleSimulator simulator(options);
    if (!simulator.start()) {
        std::fprintf(stderr, "tavir340-sim: %s\n", qPrintable(simulator.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(simulator.slavePath()));
    std::fflush(stdout);

    if (::pipe(signalPipe) != 0)
        return 1;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    const int status = app.exec();

    simulator.stop();
    if (logFile && logFile != stderr)
        std::fclose(logFile);
    return status;
}
