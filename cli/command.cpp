#include "command.h"

#include <QDateTime>

#include "core/storage/outputfile.h"
#include "core/storage/ownfolder.h"
#include "core/journal/sharedjournal.h"
#include "core/content/contentfile.h"
#include "core/journal/journalentry.h"
#include "phrases.h"
#include "core/plan/transferplan.h"
#include "core/record/protocolbytes.h"
#include "standardoutput.h"
#include "core/link/exchangelog.h"
#include "core/port/portname.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <unistd.h>

const char *const ExitCodeHelp =
    "Exit codes:\n"
    "  0  success\n"
    "  1  the module failed: no answer, no acknowledge, verify mismatch, bad answer\n"
    "     (diff: the files differ)\n"
    "  2  refused: usage, a file that cannot be read or written, a refused field;\n"
    "     no module was written (phones import: no number could be imported)\n"
    "  3  a port could not be opened: missing, busy or no permission (the reason is printed)\n"
    "  4  interrupted (Ctrl+C, SIGTERM or SIGHUP)\n"
    "  5  done, but a result could not be written: standard output, an output file,\n"
    "     the log, or the journal (provision: a unit written but not proven)\n"
    "  6  provision: nothing failed, but units of the manifest are not proven yet\n"
    "     (claimed by another station, changed, or left for the next run)\n"
    "With several ports the highest code, after every port's own result.\n";

namespace {

const char *const ResultNames[] = {"ok", "module failed", "refused", "port unavailable", "interrupted", "not recorded", "units left"};

// One printable character of Latin-1, as the window's settings dialogs take it.
std::optional<char> characterOption(const QString &value)
{
    if (value.size() != 1 || value.front().unicode() > 0xFF || isControlCode(value.front().unicode()))
        return std::nullopt;
    return settingByte(value);
}

} // namespace

bool print(std::FILE *stream, const QByteArray &bytes)
{
    if (stream == stdout)
        return StandardOutput::write(bytes);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
    return true;
}

bool printLines(std::FILE *stream, const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += Phrase::shown(line) + QLatin1Char('\n');
    return print(stream, text.toLocal8Bit());
}

int Command::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(summary());
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    configure(parser);
    // A refusal of the arguments themselves is JSON too when JSON was asked for.
    m_json = arguments.contains(QStringLiteral("--json"));
    if (!parser.parse(arguments)) {
        if (m_json)
            fail(Refused, parser.errorText());
        printLines(stderr, {QStringLiteral("tavir340-cli: ") + parser.errorText(),
                            QStringLiteral("See: tavir340-cli %1 --help").arg(name())});
        return Refused;
    }
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QStringLiteral("Usage: ") + arguments.first(),
                     QStringLiteral("Usage: tavir340-cli ") + name());
        print(stdout, (text + QLatin1Char('\n') + QString::fromLatin1(ExitCodeHelp)).toLocal8Bit());
        return Success;
    }
    auto flag = [&parser](const QString &option) { return parser.optionNames().contains(option); };
    m_json = flag(QStringLiteral("json"));
    m_quiet = flag(QStringLiteral("quiet")) || flag(QStringLiteral("q"));
    const QString log = flag(QStringLiteral("log")) ? parser.value(QStringLiteral("log")) : QString();
    if (log == QLatin1String("-")) {
        ExchangeLog::startWith([](const QByteArray &line) { StandardOutput::write(line); });
    } else if (!log.isEmpty()) {
        if (const FileError error = ExchangeLog::start(log))
            return fail(Refused, QStringLiteral("cannot write the log %1: %2").arg(log, Phrase::fileError(error)));
    }
    int code = execute(parser);
    if (const FileError error = ExchangeLog::stop()) {
        fail(NotRecorded, QStringLiteral("cannot write the log %1: %2").arg(log, Phrase::fileError(error)));
        code = withOutputFailure(code);
    }
    return code;
}

void Command::addLinkOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("checksum"), QStringLiteral("Append a checksum: 8, 16, 24 or 32 (bit sum), or off (default)."),
         QStringLiteral("bits"), QStringLiteral("off")},
        {QStringLiteral("fixed-checksum"), QStringLiteral("Append this character in place of a checksum."), QStringLiteral("char")},
        {QStringLiteral("ack"), QStringLiteral("The module's acknowledge character (default O)."), QStringLiteral("char"), QStringLiteral("O")},
        {QStringLiteral("separator"), QStringLiteral("The download separator (default |)."), QStringLiteral("char"), QStringLiteral("|")},
        {QStringLiteral("upload-command"), QStringLiteral("The upload command character (default {)."), QStringLiteral("char"),
         QStringLiteral("{")},
        {QStringLiteral("log"), QStringLiteral("Write every byte on the line to <file>."), QStringLiteral("file")},
    });
}

std::optional<LinkSettings> Command::linkSettings(const QCommandLineParser &parser) const
{
    LinkSettings settings;
    const QString checksum = parser.value(QStringLiteral("checksum"));
    const QStringList sizes = {QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("24"), QStringLiteral("32")};
    if (sizes.contains(checksum)) {
        settings.CheckValue = 1;
        settings.CheckSize = char(sizes.indexOf(checksum));
    } else if (checksum != QLatin1String("off")) {
        fail(Refused, QStringLiteral("--checksum takes 8, 16, 24, 32 or off, not \"%1\"").arg(checksum));
        return std::nullopt;
    }
    const struct { const char *option; char *field; } characters[] = {
        {"fixed-checksum", &settings.CheckSize},
        {"ack", &settings.AckChar},
        {"separator", &settings.DownloadSeparator},
        {"upload-command", &settings.UploadCommand},
    };
    // What is not given keeps the window's default.
    for (const auto &entry : characters) {
        const QString option = QLatin1String(entry.option);
        if (!parser.isSet(option))
            continue;
        const std::optional<char> value = characterOption(parser.value(option));
        if (!value) {
            fail(Refused, QStringLiteral("--%1 takes one printable character, not \"%2\"").arg(option, parser.value(option)));
            return std::nullopt;
        }
        *entry.field = *value;
    }
    if (parser.isSet(QStringLiteral("fixed-checksum")))
        settings.CheckValue = 1;
    return settings;
}

void Command::addOutputOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("json"), QStringLiteral("One JSON object per port and operation on standard output.")},
        {{QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("No progress bars.")},
    });
}

void Command::addJournalOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("journal"),
         QStringLiteral("Keep the journal in <dest>: a file, or a postgresql:// address (default: $TAVIR340_JOURNAL, "
                        "else ~/.local/state/tavir340/journal.sqlite)."),
         QStringLiteral("dest")},
        {QStringLiteral("no-journal"), QStringLiteral("Keep no journal of this run.")},
    });
}

void Command::warnIfMended(const JournalLocation &location, int mendedFromMode)
{
    if (mendedFromMode >= 0)
        printLines(stderr, {QStringLiteral("tavir340-cli: warning: the journal %1 was readable by others (mode %2); it is now 0600")
                                .arg(location.shownName(), QString::number(mendedFromMode, 8).rightJustified(4, QLatin1Char('0')))});
}

bool Command::openJournal(const QCommandLineParser &parser, std::unique_ptr<SharedJournal> *journal) const
{
    if (parser.value(QStringLiteral("journal")) == QLatin1String("-")) {
        fail(Refused, QStringLiteral("--journal takes a file or a postgresql:// address, not -"));
        return false;
    }
    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), parser.isSet(QStringLiteral("no-journal")));
    if (location.kind == JournalLocation::Kind::Off)
        return true;
    *journal = std::make_unique<SharedJournal>(location);
    warnIfMended(location, (*journal)->mendedFromMode());
    if (!(*journal)->isOpen()) {
        fail(Refused, QStringLiteral("the journal %1 takes no entries: %2 (--no-journal runs without one)")
                          .arg(location.shownName(), Phrase::journalProblem((*journal)->problem())));
        return false;
    }
    return true;
}

void Command::addDryRunOption(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("dry-run"),
                      QStringLiteral("Check everything and print what would go on the line, as the exchange log shows it; open no port.")});
}

void Command::addOldForceOption(QCommandLineParser &parser)
{
    QCommandLineOption force(QStringLiteral("force"), QStringLiteral("The old spelling of this command's overriding options."));
    force.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(force);
}

int Command::writeDocument(const QString &output, const QByteArray &bytes, bool secret) const
{
    if (output == QLatin1String("-"))
        return !contentMayGoToStandardOutput() ? Refused : print(stdout, bytes) ? Success : NotRecorded;
    if (const FileError error = writeWholeFile(output, bytes, secret ? OutputFile::Readers::OwnerOnly : OutputFile::Readers::Anyone))
        return fail(Refused, Phrase::cannotWrite(output, error));
    return Success;
}

int Command::writeContent(const QString &output, const FormValues &form) const
{
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(form))
        return fail(Refused, Phrase::unsavable(*problem) + QStringLiteral(". Nothing was written."));
    if (output == QLatin1String("-"))
        return !contentMayGoToStandardOutput() ? Refused : print(stdout, ContentFile::serialize(form)) ? Success : NotRecorded;
    OutputFile file(output, OutputFile::Readers::OwnerOnly);
    if (file.write(ContentFile::serialize(form)))
        file.commit();
    if (const FileError error = file.error())
        return fail(Refused, Phrase::cannotWrite(output, error));
    return Success;
}

QList<QByteArray> Command::downloadPieces(const TransferPlan &plan)
{
    return QList<QByteArray>{QByteArray() + char(RequestByte) + char(DownloadRequest)} + plan.pieces();
}

bool Command::printDryRun(const QStringList &ports, const QList<QByteArray> &toModule, const QList<QByteArray> &expected) const
{
    QByteArray out;
    for (const QString &port : ports) {
        for (const QByteArray &bytes : toModule)
            out += ExchangeLog::formatLine(Phrase::shown(port), true, 0, bytes);
        for (const QByteArray &bytes : expected)
            out += ExchangeLog::formatLine(Phrase::shown(port), false, 0, bytes);
    }
    return print(stdout, out);
}

int Command::fail(ExitCode code, const QString &message) const
{
    printLines(stderr, {QStringLiteral("tavir340-cli: ") + message});
    if (m_json) {
        Result refusal;
        refusal.operation = name();
        refusal.code = code;
        refusal.message = message;
        print(stdout, QJsonDocument(resultObject(refusal)).toJson(QJsonDocument::Compact) + '\n');
    }
    return code;
}

bool Command::checkPorts(const QStringList &ports) const
{
    QStringList devices;
    for (const QString &port : ports) {
        if (port.trimmed().isEmpty()) {
            fail(Refused, QStringLiteral("an empty port name"));
            return false;
        }
        const QString device = SerialDevice::realDevice(SerialDevice::devicePath(port));
        if (devices.contains(device)) {
            fail(Refused, QStringLiteral("%1 is given twice: one port takes one module").arg(port));
            return false;
        }
        devices << device;
    }
    return true;
}

bool Command::contentMayGoToStandardOutput() const
{
    if (!::isatty(STDOUT_FILENO))
        return true;
    fail(Refused, QStringLiteral("standard output is a terminal: give -o FILE, or send it into a pipe or a file"));
    return false;
}

std::optional<FormValues> Command::loadForm(const QString &path, LongValues longValues,
                                           QList<ContentFile::LoadResult::Cut> *cut) const
{
    const ContentFile::LoadResult result = ContentFile::load(path, initialFormValues());
    switch (result.status) {
    case ContentFile::LoadStatus::Loaded:
        if (cut)
            *cut = result.cut;
        if (longValues == LongValues::Refuse && !result.cut.isEmpty()) {
            for (const ContentFile::LoadResult::Cut &value : result.cut)
                fail(Refused, QStringLiteral("%1: refused: %2").arg(path, Phrase::tooLong(value.field, value.length)));
            return std::nullopt;
        }
        return result.values;
    case ContentFile::LoadStatus::Missing:
        fail(Refused, QStringLiteral("%1: no such file").arg(path));
        break;
    case ContentFile::LoadStatus::Malformed:
        fail(Refused, QStringLiteral("%1: not a content file (108 lines)").arg(path));
        break;
    case ContentFile::LoadStatus::NotAFile:
        fail(Refused, QStringLiteral("%1: %2").arg(path, QFileInfo(path).isDir() ? QStringLiteral("is a folder")
                                                                               : QStringLiteral("is not a plain file")));
        break;
    case ContentFile::LoadStatus::Unreadable:
        fail(Refused, QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(result.systemError)).toLower()));
        break;
    }
    return std::nullopt;
}

bool Command::backupFolder(const QCommandLineParser &parser, QString *folder) const
{
    *folder = parser.value(QStringLiteral("backup"));
    if (*folder == QLatin1String("-")) {
        fail(Refused, QStringLiteral("--backup takes a folder, not -"));
        return false;
    }
    if (folder->isEmpty())
        return true;
    if (const FileError error = makeOwnFolder(*folder)) {
        fail(Refused, Phrase::cannotUseFolder(QStringLiteral("backup"), *folder, error));
        return false;
    }
    return true;
}

QJsonObject resultObject(const Result &result)
{
    auto text = [](const QString &value) { return value.isEmpty() ? QJsonValue() : QJsonValue(value); };
    return QJsonObject{
        {QStringLiteral("port"), text(result.port)},
        {QStringLiteral("unit"), text(result.unit)},
        {QStringLiteral("operation"), result.operation},
        {QStringLiteral("result"), QString::fromLatin1(ResultNames[result.code])},
        {QStringLiteral("exitCode"), int(result.code)},
        {QStringLiteral("message"), text(result.message.isEmpty() ? result.note : result.message)},
        {QStringLiteral("seconds"), qRound(result.seconds * 1000) / 1000.0},
        {QStringLiteral("bytesSent"), result.bytesSent},
        {QStringLiteral("bytesReceived"), result.bytesReceived},
        {QStringLiteral("differences"), Phrase::differences(result.differences)},
        {QStringLiteral("backup"), text(result.backup)},
        {QStringLiteral("label"), text(result.label)},
        {QStringLiteral("output"), text(result.output)},
        {QStringLiteral("entry"), result.journalEntry != 0 ? QJsonValue(result.journalEntry) : QJsonValue()},
        {QStringLiteral("state"), result.unitState ? QJsonValue(Phrase::unitStateId(*result.unitState)) : QJsonValue()},
    };
}

void Command::report(const Result &result, bool toError) const
{
    std::FILE *stream = toError ? stderr : stdout;
    if (m_json) {
        print(stream, QJsonDocument(resultObject(result)).toJson(QJsonDocument::Compact) + '\n');
        return;
    }
    QString line = result.port.isEmpty() ? result.operation : result.port + QStringLiteral(": ") + result.operation;
    if (!result.unit.isEmpty())
        line = result.unit + QStringLiteral(": ") + line;
    // A unit's line says its state first; "ok" is for a proven unit alone.
    // Not recorded: the operation itself went well.
    if (result.unitState)
        line += QStringLiteral(": ") + Phrase::unitState(*result.unitState)
              + (result.message.isEmpty() ? QString() : QStringLiteral(": ") + result.message);
    else if (result.code != Success && result.code != NotRecorded)
        line += QStringLiteral(": ") + result.message;
    else if (!result.note.isEmpty())
        line += QStringLiteral(": ") + result.note;
    else if (result.message.isEmpty())
        line += QStringLiteral(": ok");
    else
        line += QStringLiteral(": ok, but ") + result.message;
    if (result.seconds > 0)
        line += QStringLiteral(" (%1 s)").arg(result.seconds, 0, 'f', 1);
    if (!result.backup.isEmpty())
        line += QStringLiteral("; backup: ") + result.backup;
    if (!result.label.isEmpty())
        line += QStringLiteral("; label: ") + result.label;
    QStringList lines = {line};
    for (const FieldDifference &d : result.differences)
        lines << QStringLiteral("  ") + Phrase::difference(d, result.firstName, result.secondName);
    printLines(stream, lines);
}

int worstCode(const QList<Result> &results)
{
    int code = Success;
    bool notRecorded = false;
    for (const Result &result : results) {
        if (result.code == NotRecorded)
            notRecorded = true;
        else
            code = std::max(code, int(result.code));
    }
    return notRecorded ? withOutputFailure(code) : code;
}

int withOutputFailure(int code)
{
    return code == Success ? NotRecorded : code;
}

// A time as --since takes it: a date (its midnight, UTC) or a date and time.
std::optional<qint64> Command::timeOption(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            time = date.startOfDay(Qt::UTC);
    }
    if (time.isValid() && time.timeSpec() == Qt::LocalTime && text.size() > 10)
        time.setTimeSpec(Qt::UTC);  // a time without a zone is UTC, as the journal shows it
    return time.isValid() ? std::optional(time.toMSecsSinceEpoch()) : std::nullopt;
}
