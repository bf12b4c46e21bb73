#include "journalcommand.h"

#include "core/journal/journal.h"
#include "core/journal/journalcsv.h"
#include "core/journal/sharedjournal.h"
#include "phrases.h"
#include "standardoutput.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString JournalCommand::summary() const
{
    return QStringLiteral("List what was written into which module, when, and with what result; \"journal show ENTRY\" for one.");
}

void JournalCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("show"),
                                 QStringLiteral("\"show ENTRY\": one entry in full; \"init\": make the journal, or bring it up to date."),
                                 QStringLiteral("[show ENTRY | init]"));
    parser.addOptions({
        {QStringLiteral("module-id"), QStringLiteral("Only the module with this identifier (m_id)."), QStringLiteral("id")},
        {QStringLiteral("name"), QStringLiteral("Only modules whose name (m_nev) holds <text>, in any case."), QStringLiteral("text")},
        {QStringLiteral("port"), QStringLiteral("Only this port, as it was given."), QStringLiteral("port")},
        {QStringLiteral("unit"), QStringLiteral("Only this unit of a batch."), QStringLiteral("unit")},
        {QStringLiteral("operation"), QStringLiteral("Only download, readup, verify or backup."), QStringLiteral("op")},
        {QStringLiteral("result"), QStringLiteral("Only ok, failed, refused, interrupted or unfinished."), QStringLiteral("result")},
        {QStringLiteral("since"), QStringLiteral("Only entries started at or after <time> (2026-12-08 or 2026-12-08T10:00:00Z)."),
         QStringLiteral("time")},
        {QStringLiteral("until"), QStringLiteral("Only entries started before <time>."), QStringLiteral("time")},
        {QStringLiteral("limit"), QStringLiteral("At most <n> entries, newest first (default 50; 0: all)."), QStringLiteral("n"),
         QStringLiteral("50")},
        {QStringLiteral("csv"), QStringLiteral("The entries as CSV, with a header row.")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("With show: write the entry's content as a content file to <file> (-: standard output)."), QStringLiteral("file")},
    });
    addJournalOptions(parser);
    addOutputOptions(parser);
}

namespace {

// The same keys for every entry; null where the entry has nothing.
QJsonObject entryObject(const JournalEntry &e)
{
    auto text = [](const QString &value) { return value.isEmpty() ? QJsonValue() : QJsonValue(value); };
    const std::optional<double> seconds = entrySeconds(e);
    return QJsonObject{
        {QStringLiteral("entry"), e.id},
        {QStringLiteral("started"), isoTime(e.startedMs)},
        {QStringLiteral("ended"), e.endedMs ? QJsonValue(isoTime(*e.endedMs)) : QJsonValue()},
        {QStringLiteral("seconds"), seconds ? QJsonValue(*seconds) : QJsonValue()},
        {QStringLiteral("station"), e.station},
        {QStringLiteral("user"), e.user},
        {QStringLiteral("program"), e.program},
        {QStringLiteral("version"), e.version},
        {QStringLiteral("operation"), e.operation},
        {QStringLiteral("unit"), text(e.unit)},
        {QStringLiteral("port"), e.port},
        {QStringLiteral("device"), text(e.device)},
        {QStringLiteral("byId"), text(e.byId)},
        {QStringLiteral("usbSerial"), text(e.usbSerial)},
        {QStringLiteral("moduleId"), text(e.moduleId)},
        {QStringLiteral("moduleName"), text(e.moduleName)},
        {QStringLiteral("result"), e.isFinished() ? e.result : JournalName::Unfinished},
        {QStringLiteral("exitCode"), e.exitCode ? QJsonValue(*e.exitCode) : QJsonValue()},
        {QStringLiteral("reason"), text(e.reason)},
        {QStringLiteral("message"), text(Phrase::journalReason(e.reason))},
        {QStringLiteral("differences"), Phrase::differences(e.differences)},
        {QStringLiteral("bytesSent"), e.bytesSent},
        {QStringLiteral("bytesReceived"), e.bytesReceived},
        {QStringLiteral("file"), text(e.file)},
        {QStringLiteral("backup"), text(e.backup)},
        {QStringLiteral("recordSha256"), text(e.recordSha256)},
    };
}

// "2026-12-08T10:15:00.000Z  #12  station  ttyUSB0  download  0042 KAPU  ok  6.3 s"
QString entryLine(const JournalEntry &e)
{
    const std::optional<double> seconds = entrySeconds(e);
    QStringList columns = {
        isoTime(e.startedMs),
        QStringLiteral("#%1").arg(e.id), e.station, e.port, e.operation};
    if (!e.unit.isEmpty())
        columns << QStringLiteral("unit ") + e.unit;
    columns << (e.moduleId + QLatin1Char(' ') + e.moduleName).trimmed()
            << (e.isFinished() ? e.result : QStringLiteral("unfinished: the module's content is unknown"));
    if (seconds)
        columns << QStringLiteral("%1 s").arg(*seconds, 0, 'f', 1);
    columns.removeAll(QString());
    return columns.join(QStringLiteral("  "));
}

QStringList entryDetails(const JournalEntry &e)
{
    QStringList lines = {entryLine(e)};
    const struct { const char *label; QString value; } fields[] = {
        {"started", isoTime(e.startedMs)}, {"ended", e.endedMs ? isoTime(*e.endedMs) : QString()},
        {"station", e.station}, {"user", e.user}, {"program", e.program + QLatin1Char(' ') + e.version},
        {"process", QString::number(e.pid)}, {"unit", e.unit}, {"port", e.port}, {"device", e.device},
        {"adapter", e.byId}, {"USB serial", e.usbSerial}, {"module id", e.moduleId}, {"module name", e.moduleName},
        {"file", e.file}, {"backup", e.backup}, {"exit code", e.exitCode ? QString::number(*e.exitCode) : QString()},
        {"reason", Phrase::journalReason(e.reason)}, {"bytes sent", QString::number(e.bytesSent)},
        {"bytes received", QString::number(e.bytesReceived)}, {"record SHA-256", e.recordSha256}};
    for (const auto &field : fields)
        if (!field.value.isEmpty())
            lines << QStringLiteral("  %1: %2").arg(QLatin1String(field.label), field.value);
    for (const FieldDifference &d : e.differences)
        lines << QStringLiteral("  differs: ") + Phrase::difference(d, QStringLiteral("file"), QStringLiteral("module"));
    return lines;
}

} // namespace

int JournalCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    const bool show = arguments.value(0) == QLatin1String("show");
    const bool init = arguments.value(0) == QLatin1String("init");
    const bool claims = arguments.value(0) == QLatin1String("claims");
    if ((show && arguments.size() != 2) || ((init || claims) && arguments.size() != 1) || (!show && !init && !claims && !arguments.isEmpty()))
        return fail(Refused, QStringLiteral("usage: tavir340-cli journal [options] | journal show ENTRY [-o FILE] | journal claims | journal init"));
    if (parser.isSet(QStringLiteral("no-journal")))
        return fail(Refused, QStringLiteral("--no-journal: there is no journal to read"));
    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), false);
    if (init) {
        std::unique_ptr<SharedJournal> made;
        return openJournal(parser, &made) ? Success : Refused;
    }
    Journal journal(location, Journal::Mode::Read);
    warnIfMended(location, journal.mendedFromMode());
    if (!journal.isOpen())
        return fail(Refused, Phrase::journalUnreadable(location.shownName(), journal.problem()));
    if (claims)
        return this->claims(journal);
    return show ? this->show(journal, arguments[1], parser.value(QStringLiteral("output"))) : list(journal, parser, location);
}

// "gate-0041  live  station1  process 4711  since 2026-12-08T10:15:00.000Z  lease until …"
int JournalCommand::claims(Journal &journal) const
{
    QByteArray out;
    for (const Journal::ClaimRow &row : journal.claims()) {
        const QString state = row.isLive() ? QStringLiteral("live")
                            : row.holder.provablyGone() ? QStringLiteral("stale: its process is gone") : QStringLiteral("stale: its lease ran out");
        if (json()) {
            out += QJsonDocument(QJsonObject{{QStringLiteral("unit"), row.unit}, {QStringLiteral("live"), row.isLive()},
                                             {QStringLiteral("station"), row.holder.station}, {QStringLiteral("pid"), row.holder.pid},
                                             {QStringLiteral("since"), isoTime(row.takenMs)},
                                             {QStringLiteral("leaseUntil"), isoTime(row.leaseUntilMs)},
                                             {QStringLiteral("entry"), row.entry}})
                       .toJson(QJsonDocument::Compact) + '\n';
        } else {
            out += Phrase::shown(QStringLiteral("%1  %2  %3  process %4  since %5  lease until %6  entry #%7")
                                     .arg(row.unit, state, row.holder.station).arg(row.holder.pid)
                                     .arg(isoTime(row.takenMs), isoTime(row.leaseUntilMs)).arg(row.entry)).toUtf8() + '\n';
        }
    }
    return print(stdout, out) ? Success : NotRecorded;
}

int JournalCommand::show(Journal &journal, const QString &id, const QString &output) const
{
    bool ok = false;
    const qint64 number = id.toLongLong(&ok);
    const std::optional<JournalEntry> entry = ok ? journal.entry(number) : std::nullopt;
    if (!entry)
        return fail(Refused, QStringLiteral("no entry %1 in the journal").arg(id));
    if (!output.isEmpty()) {
        if (entry->content.isEmpty())
            return fail(Refused, QStringLiteral("entry %1 holds no content").arg(number));
        if (output == QLatin1String("-"))
            return !contentMayGoToStandardOutput() ? Refused : print(stdout, entry->content) ? Success : NotRecorded;
        if (const FileError error = writeWholeFile(output, entry->content, OutputFile::Readers::OwnerOnly))
            return fail(Refused, Phrase::cannotWrite(output, error));
        return Success;
    }
    if (json())
        return print(stdout, QJsonDocument(entryObject(*entry)).toJson(QJsonDocument::Compact) + '\n') ? Success : NotRecorded;
    return printLines(stdout, entryDetails(*entry)) ? Success : NotRecorded;
}

int JournalCommand::list(Journal &journal, const QCommandLineParser &parser, const JournalLocation &location) const
{
    Journal::Filter filter;
    filter.moduleId = parser.value(QStringLiteral("module-id"));
    filter.name = parser.value(QStringLiteral("name"));
    filter.port = parser.value(QStringLiteral("port"));
    filter.unit = parser.value(QStringLiteral("unit"));
    filter.operation = parser.value(QStringLiteral("operation"));
    filter.result = parser.value(QStringLiteral("result"));
    bool limitOk = false;
    filter.limit = parser.value(QStringLiteral("limit")).toInt(&limitOk);
    for (const char *option : {"since", "until"}) {
        const QString text = parser.value(QLatin1String(option));
        const std::optional<qint64> time = Command::timeOption(text);
        if (!text.isEmpty() && !time)
            return fail(Refused, QStringLiteral("--%1 takes a date or a date and time, not \"%2\"").arg(QLatin1String(option), text));
        (QLatin1String(option) == QLatin1String("since") ? filter.sinceMs : filter.untilMs) = time;
    }
    if (!limitOk || filter.limit < 0)
        return fail(Refused, QStringLiteral("--limit takes a number"));
    const QList<JournalEntry> entries = journal.find(filter);
    if (!journal.isOpen())
        return fail(Refused, Phrase::journalUnreadable(location.shownName(), journal.problem()));

    if (parser.isSet(QStringLiteral("csv")))
        return print(stdout, journalCsv(entries)) ? Success : NotRecorded;
    if (json()) {
        QByteArray out;
        for (const JournalEntry &entry : entries)
            out += QJsonDocument(entryObject(entry)).toJson(QJsonDocument::Compact) + '\n';
        return print(stdout, out) ? Success : NotRecorded;
    }
    QStringList lines;
    for (const JournalEntry &entry : entries)
        lines << entryLine(entry);
    return printLines(stdout, lines) ? Success : NotRecorded;
}
