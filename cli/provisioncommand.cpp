#include "commands.h"

#include "content/manifest.h"
#include "content/readupfile.h"
#include "journal/sharedjournal.h"
#include "phrases.h"
#include "portjobs.h"
#include "portrun.h"
#include "transfer/contentrecord.h"
#include "transfer/moduleexchange.h"
#include "transfer/port/portname.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSet>

#include <mutex>

QString ProvisionCommand::summary() const
{
    return QStringLiteral("Provision the units of a manifest: each port takes the next unit not yet done, writes it and proves it.");
}

void ProvisionCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("template"), QStringLiteral("The content file every unit starts from (- for standard input)."));
    parser.addOptions({
        {QStringLiteral("manifest"), QStringLiteral("The units: a CSV file with a unit column, an optional port column and field columns (- for standard input)."),
         QStringLiteral("file")},
        {{QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("A port with a module plugged in. Repeat for more."), QStringLiteral("port")},
        {QStringLiteral("unit"), QStringLiteral("Take this unit only."), QStringLiteral("name")},
        {QStringLiteral("again"), QStringLiteral("Take units the journal holds as done too.")},
        {QStringLiteral("retries"), QStringLiteral("Try a download or read-back that got no answer this many more times (default 2)."),
         QStringLiteral("n"), QStringLiteral("2")},
        {QStringLiteral("backup"), QStringLiteral("First keep what each module held in <dir>/<unit>-<UTC time>.t16."), QStringLiteral("dir")},
    });
    addLinkOptions(parser);
    addJournalOptions(parser);
    addDryRunOption(parser);
    addOutputOptions(parser);
}

namespace {

QString manifestProblem(const ManifestProblem &problem)
{
    using Reason = ManifestProblem::Reason;
    const QString where = problem.column.isEmpty() ? QStringLiteral("row %1").arg(problem.row)
                                                   : QStringLiteral("row %1, column %2").arg(problem.row).arg(problem.column);
    QString why;
    switch (problem.reason) {
    case Reason::BadCsv: why = QStringLiteral("a quoted cell is never closed"); break;
    case Reason::NoUnitColumn: why = QStringLiteral("there is no unit column"); break;
    case Reason::UnknownColumn: why = QStringLiteral("no such field"); break;
    case Reason::DuplicateColumn: why = QStringLiteral("the column is there twice"); break;
    case Reason::EmptyUnit: why = QStringLiteral("the unit has no name"); break;
    case Reason::DuplicateUnit: why = QStringLiteral("the same unit as row %1").arg(problem.otherRow); break;
    case Reason::CellCount: why = QStringLiteral("more cells than the header has columns"); break;
    case Reason::Value:
    case Reason::Content:
        if (problem.refusal.reason == EditRefusal::Reason::TooLong)
            why = QStringLiteral("longer than the field's %1 characters").arg(problem.refusal.maxLength);
        else if (problem.refusal.reason == EditRefusal::Reason::NotABoxValue)
            why = QStringLiteral("a check box takes 1 or 0");
        else
            why = Phrase::refusalReason(problem.refusal.refusal, LinkSettings().DownloadSeparator);
        if (problem.reason == Reason::Content)
            why += QStringLiteral(" (in the template, and the row gives no value)");
        break;
    case Reason::Unsavable: why = Phrase::unsavable(problem.unsavable); break;
    }
    return where + QStringLiteral(": ") + why;
}

// Whether a unit's port column names this port, by name or by the device.
bool names(const QString &column, const QString &port)
{
    return column == port
        || SerialDevice::realDevice(SerialDevice::devicePath(column)) == SerialDevice::realDevice(SerialDevice::devicePath(port));
}

} // namespace

int ProvisionCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    const QStringList ports = parser.values(QStringLiteral("port"));
    const QString manifestPath = parser.value(QStringLiteral("manifest"));
    if (arguments.size() != 1 || ports.isEmpty() || manifestPath.isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli provision TEMPLATE --manifest UNITS.csv --port P [--port P2 ...]"));
    if (arguments.first() == QLatin1String("-") && manifestPath == QLatin1String("-"))
        return fail(Refused, QStringLiteral("the template and the manifest cannot both come from standard input"));
    if (!checkPorts(ports))
        return Refused;
    bool retriesOk = false;
    const int retries = parser.value(QStringLiteral("retries")).toInt(&retriesOk);
    if (!retriesOk || retries < 0)
        return fail(Refused, QStringLiteral("--retries takes a number"));
    const std::optional<LinkSettings> settings = linkSettings(parser);
    const std::optional<FormValues> templateForm = loadForm(arguments.first());
    if (!settings || !templateForm)
        return Refused;

    // The whole manifest is checked before any byte goes to a module.
    QFile manifestFile;
    const bool opened = manifestPath == QLatin1String("-") ? manifestFile.open(stdin, QIODevice::ReadOnly)
                                                           : (manifestFile.setFileName(manifestPath), manifestFile.open(QIODevice::ReadOnly));
    if (!opened)
        return fail(Refused, QStringLiteral("%1: %2").arg(manifestPath, manifestFile.errorString()));
    const Manifest manifest = readManifest(manifestFile, *templateForm);
    if (!manifest.problems.isEmpty()) {
        for (const ManifestProblem &problem : manifest.problems)
            fail(Refused, manifestPath + QStringLiteral(": ") + manifestProblem(problem));
        return Refused;
    }

    const QString only = parser.value(QStringLiteral("unit"));
    const bool again = parser.isSet(QStringLiteral("again"));
    QList<ManifestUnit> units = manifest.units;
    if (!only.isEmpty()) {
        units.removeIf([&only](const ManifestUnit &unit) { return unit.unit != only; });
        if (units.isEmpty())
            return fail(Refused, QStringLiteral("no unit %1 in %2").arg(only, manifestPath));
    }
    // Which units each port may take, in manifest order: those that name it,
    // then those that name no port. A named unit goes to its own port, or the first.
    QList<QList<int>> candidates(ports.size());
    for (int u = 0; u < units.size(); ++u) {
        if (!only.isEmpty() && units[u].port.isEmpty()) {
            candidates[0] << u;
            continue;
        }
        for (int p = 0; p < ports.size(); ++p) {
            if (!units[u].port.isEmpty() && names(units[u].port, ports[p]))
                candidates[p].prepend(u);
        }
    }
    for (QList<int> &list : candidates)
        std::sort(list.begin(), list.end());
    if (only.isEmpty()) {
        for (QList<int> &list : candidates) {
            for (int u = 0; u < units.size(); ++u)
                if (units[u].port.isEmpty())
                    list << u;
        }
    }

    if (parser.isSet(QStringLiteral("dry-run"))) {
        for (int p = 0; p < ports.size(); ++p) {
            if (candidates[p].isEmpty())
                continue;
            LinkSettings own = *settings;
            buildContentRecord(units[candidates[p].first()].form, own, RecordPurpose::Download);
            QList<QByteArray> pieces = {QByteArray() + char(RequestByte) + char(DownloadRequest)};
            for (const QByteArray &piece : linePieces(own.RecordText, own.DownloadSeparator))
                pieces << piece + char(PieceEnd);
            printLines(stdout, {QStringLiteral("%1: %2 would take %3 (row %4) if the journal does not hold it as done")
                                    .arg(ports[p], units[candidates[p].first()].unit, units[candidates[p].first()].unit)
                                    .arg(units[candidates[p].first()].row)});
            printDryRun({ports[p]}, pieces);
        }
        return Success;
    }

    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), parser.isSet(QStringLiteral("no-journal")));
    if (location.kind == JournalLocation::Kind::Off && only.isEmpty() && !again)
        return fail(Refused, QStringLiteral("without a journal this run cannot know which units are done: give --unit NAME or --again"));
    std::unique_ptr<SharedJournal> journal;
    if (!openJournal(parser, &journal))
        return Refused;
    QString backupFolder;
    if (!this->backupFolder(parser, &backupFolder))
        return Refused;

    // Without a journal the ports of this run still never take the same unit.
    std::mutex takenMutex;
    QSet<int> taken;
    QList<bool> provisionedHere(units.size(), false);
    const QList<Result> results = runOnPorts(ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt,
                                                                  ProgressBars &bars) {
        LinkSettings own = *settings;
        own.Port = port;
        PortContext context(row, interrupt, bars, journal.get());
        for (int u : std::as_const(candidates[row])) {
            const ManifestUnit &unit = units[u];
            JournalEntry claim = startEntry(JournalName::Provision, port);
            claim.unit = unit.unit;
            setContent(claim, unit.form);
            claim.file = manifestPath;
            if (journal) {
                const std::optional<Journal::Claim> claimed = journal->claim(claim, again);
                if (!claimed) {
                    Result refused;
                    refused.port = port;
                    refused.unit = unit.unit;
                    refused.operation = QStringLiteral("provision");
                    refused.code = Refused;
                    refused.message = QStringLiteral("the journal does not take the claim, nothing was sent: ")
                                    + Phrase::journalProblem(journal->problem());
                    return refused;
                }
                if (*claimed != Journal::Claim::Taken)
                    continue;
            } else {
                const std::lock_guard lock(takenMutex);
                if (taken.contains(u))
                    continue;
                taken.insert(u);
            }
            context.unit = unit.unit;
            context.file = manifestPath;
            std::unique_ptr<OutputFile> backup;
            if (!backupFolder.isEmpty())
                backup = std::make_unique<OutputFile>(backupPath(QDir(backupFolder).absolutePath(), unit.unit, QDateTime::currentDateTimeUtc()));
            const Result result = provisionUnit(own, unit.form, context, retries, backup.get());
            if (journal) {
                setEnding(claim, ExchangeReport{});
                claim.result = result.code == Success ? JournalName::Ok
                             : result.code == Interrupted ? JournalName::Interrupted
                             : result.code == Refused ? JournalName::Refused : JournalName::Failed;
                claim.exitCode = result.code;
                claim.message = result.message;
                claim.differences = result.differences;
                claim.bytesSent = result.bytesSent;
                claim.bytesReceived = result.bytesReceived;
                claim.backup = result.backup;
                Result recorded = result;
                recorded.journalEntry = claim.id;
                if (!journal->complete(claim) && recorded.code == Success) {
                    recorded.code = NotRecorded;
                    recorded.message = QStringLiteral("not recorded in the journal: ") + Phrase::journalProblem(journal->problem());
                }
                journal->release(unit.unit);
                if (result.code == Success)
                    provisionedHere[u] = true;
                return recorded;
            }
            if (result.code == Success)
                provisionedHere[u] = true;
            return result;
        }
        Result idle;
        idle.port = port;
        idle.operation = QStringLiteral("provision");
        idle.note = QStringLiteral("no unit left for this port");
        return idle;
    });

    // What is done now: provisioned in this run, or earlier with the same content.
    QHash<QString, QList<QByteArray>> done;
    if (journal) {
        Journal reader(location, Journal::Mode::Read);
        done = reader.provisioned();
    }
    int provisioned = 0, failed = 0, left = 0;
    for (const Result &result : results) {
        report(result);
        if (!result.unit.isEmpty())
            (result.code == Success || result.code == NotRecorded ? provisioned : failed)++;
    }
    for (int u = 0; u < units.size(); ++u) {
        if (!provisionedHere[u] && !done.value(units[u].unit).contains(units[u].content))
            ++left;
    }
    if (json()) {
        const QJsonObject summary{{QStringLiteral("summary"), QJsonObject{{QStringLiteral("units"), int(units.size())},
                                                                          {QStringLiteral("provisioned"), provisioned},
                                                                          {QStringLiteral("failed"), failed},
                                                                          {QStringLiteral("leftToDo"), left}}}};
        print(stdout, QJsonDocument(summary).toJson(QJsonDocument::Compact) + '\n');
    } else {
        printLines(stdout, {QStringLiteral("provisioned %1, failed %2, left to do %3 of %4 units").arg(provisioned).arg(failed).arg(left).arg(units.size())});
    }
    return worstCode(results);
}
