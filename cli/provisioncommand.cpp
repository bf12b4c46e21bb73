#include "provisioncommand.h"

#include "core/content/manifest.h"
#include "core/storage/streamread.h"
#include "core/operations/readupfile.h"
#include "core/journal/sharedjournal.h"
#include "phrases.h"
#include "portjobs.h"
#include "portrun.h"
#include "core/plan/transferplan.h"
#include "core/link/moduleexchange.h"
#include "core/port/portname.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSet>

#include <QBuffer>

#include <cstring>
#include <mutex>
#include <unistd.h>

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

// Far more than any batch: a manifest read from a pipe stops there.
constexpr qint64 MaxManifestBytes = 64 * 1024 * 1024;

QString manifestProblem(const ManifestProblem &problem, char separator)
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
        why = Phrase::editRefusal(problem.refusal, separator);
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

std::optional<ProvisionCommand::Run> ProvisionCommand::parse(QCommandLineParser &parser) const
{
    Run run;
    const QStringList arguments = parser.positionalArguments();
    run.ports = parser.values(QStringLiteral("port"));
    run.manifestPath = parser.value(QStringLiteral("manifest"));
    if (arguments.size() != 1 || run.ports.isEmpty() || run.manifestPath.isEmpty()) {
        fail(Refused, QStringLiteral("usage: tavir340-cli provision TEMPLATE --manifest UNITS.csv --port P [--port P2 ...]"));
        return std::nullopt;
    }
    run.templatePath = arguments.first();
    if (run.templatePath == QLatin1String("-") && run.manifestPath == QLatin1String("-")) {
        fail(Refused, QStringLiteral("the template and the manifest cannot both come from standard input"));
        return std::nullopt;
    }
    if (!checkPorts(run.ports))
        return std::nullopt;
    bool retriesOk = false;
    run.retries = parser.value(QStringLiteral("retries")).toInt(&retriesOk);
    if (!retriesOk || run.retries < 0) {
        fail(Refused, QStringLiteral("--retries takes a number"));
        return std::nullopt;
    }
    const std::optional<LinkSettings> settings = linkSettings(parser);
    if (!settings)
        return std::nullopt;
    run.settings = *settings;
    run.only = parser.value(QStringLiteral("unit"));
    run.again = parser.isSet(QStringLiteral("again"));
    return run;
}

// The whole manifest, checked with the run's own link settings before any
// byte goes to a module; then the units each port may take.
bool ProvisionCommand::readUnits(Run &run) const
{
    const std::optional<FormValues> templateForm = loadForm(run.templatePath);
    if (!templateForm)
        return false;
    QBuffer manifestFile;
    if (run.manifestPath == QLatin1String("-")) {
        const StreamRead read = readStream(STDIN_FILENO, MaxManifestBytes);
        if (read.error || read.tooLarge) {
            fail(Refused, QStringLiteral("-: %1").arg(read.error ? QString::fromLocal8Bit(std::strerror(read.error))
                                                                 : QStringLiteral("larger than a manifest may be")));
            return false;
        }
        manifestFile.setData(read.bytes);
    } else {
        QFile file(run.manifestPath);
        if (!file.open(QIODevice::ReadOnly)) {
            fail(Refused, QStringLiteral("%1: %2").arg(run.manifestPath, file.errorString()));
            return false;
        }
        manifestFile.setData(file.readAll());
    }
    manifestFile.open(QIODevice::ReadOnly);
    const Manifest manifest = readManifest(manifestFile, *templateForm, run.settings);
    for (const ManifestProblem &problem : manifest.problems)
        fail(Refused, run.manifestPath + QStringLiteral(": ") + manifestProblem(problem, run.settings.DownloadSeparator));
    if (!manifest.problems.isEmpty())
        return false;
    run.units = manifest.units;
    if (!run.only.isEmpty()) {
        run.units.removeIf([&run](const ManifestUnit &unit) { return unit.unit != run.only; });
        if (run.units.isEmpty()) {
            fail(Refused, QStringLiteral("no unit %1 in %2").arg(run.only, run.manifestPath));
            return false;
        }
    }
    run.candidates = chooseUnits(run.units, run.ports, !run.only.isEmpty());
    return true;
}

// Which units each port may take, in manifest order: those that name it,
// then those that name no port. A named unit goes to its own port, or the
// first.
QList<QList<int>> ProvisionCommand::chooseUnits(const QList<ManifestUnit> &units, const QStringList &ports, bool onlyOne)
{
    QList<QList<int>> candidates(ports.size());
    for (int u = 0; u < units.size(); ++u) {
        if (onlyOne && units[u].port.isEmpty()) {
            candidates[0] << u;
            continue;
        }
        for (int p = 0; p < ports.size(); ++p) {
            if (!units[u].port.isEmpty() && names(units[u].port, ports[p]))
                candidates[p] << u;
        }
    }
    if (!onlyOne) {
        for (QList<int> &list : candidates) {
            for (int u = 0; u < units.size(); ++u)
                if (units[u].port.isEmpty())
                    list << u;
        }
    }
    return candidates;
}

int ProvisionCommand::dryRun(const Run &run) const
{
    for (int p = 0; p < run.ports.size(); ++p) {
        if (run.candidates[p].isEmpty())
            continue;
        const ManifestUnit &unit = run.units[run.candidates[p].first()];
        if (!printLines(stdout, {QStringLiteral("%1: %2 would take %3 (row %4) if the journal does not hold it as done")
                                     .arg(run.ports[p], unit.unit, unit.unit).arg(unit.row)})
            || !printDryRun({run.ports[p]}, downloadPieces(*unit.plan)))
            return NotRecorded;
    }
    return Success;
}

int ProvisionCommand::execute(QCommandLineParser &parser)
{
    std::optional<Run> run = parse(parser);
    if (!run || !readUnits(*run))
        return Refused;
    if (parser.isSet(QStringLiteral("dry-run")))
        return dryRun(*run);

    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), parser.isSet(QStringLiteral("no-journal")));
    if (location.kind == JournalLocation::Kind::Off && run->only.isEmpty() && !run->again)
        return fail(Refused, QStringLiteral("without a journal this run cannot know which units are done: give --unit NAME or --again"));
    std::unique_ptr<SharedJournal> journal;
    if (!openJournal(parser, &journal))
        return Refused;
    QString backupFolder;
    if (!this->backupFolder(parser, &backupFolder))
        return Refused;
    QList<bool> provisionedHere(run->units.size(), false);
    const QList<Result> results = provisionAll(*run, journal.get(), backupFolder, &provisionedHere);
    return summarise(*run, results, provisionedHere, journal.get(), location);
}

namespace {

// The end of a unit into its claim's entry; the result says so when the
// journal would not take it.
Result completeClaim(SharedJournal &journal, JournalEntry &claim, const Result &result)
{
    setEnding(claim, ExchangeReport{});
    claim.result = result.code == Success ? JournalName::Ok
                 : result.code == Interrupted ? JournalName::Interrupted
                 : result.code == Refused ? JournalName::Refused : JournalName::Failed;
    claim.exitCode = result.code;
    claim.reason = result.reason;
    claim.differences = result.differences;
    claim.bytesSent = result.bytesSent;
    claim.bytesReceived = result.bytesReceived;
    claim.backup = result.backup;
    Result recorded = result;
    recorded.journalEntry = claim.id;
    if (!journal.complete(claim) && recorded.code == Success) {
        recorded.code = NotRecorded;
        recorded.message = QStringLiteral("not recorded in the journal: ") + Phrase::journalProblem(journal.problem());
    }
    journal.release(claim.unit);
    return recorded;
}

Result portResult(const QString &port, const QString &unit)
{
    Result result;
    result.port = port;
    result.unit = unit;
    result.operation = QStringLiteral("provision");
    return result;
}

} // namespace

QList<Result> ProvisionCommand::provisionAll(const Run &run, SharedJournal *journal, const QString &backupFolder,
                                             QList<bool> *provisionedHere) const
{
    // Without a journal the ports of this run still never take the same unit.
    std::mutex takenMutex;
    QSet<int> taken;
    return runOnPorts(run.ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt, ProgressBars &bars) {
        LinkSettings own = run.settings;
        own.Port = port;
        PortContext context(row, interrupt, bars, journal);
        for (int u : std::as_const(run.candidates[row])) {
            const ManifestUnit &unit = run.units[u];
            JournalEntry claim = startEntry(JournalName::Provision, port);
            claim.unit = unit.unit;
            setContent(claim, unit.form);
            claim.file = run.manifestPath;
            if (journal) {
                const std::optional<Journal::Claim> claimed = journal->claim(claim, run.again);
                if (!claimed) {
                    Result refused = portResult(port, unit.unit);
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
            context.file = run.manifestPath;
            std::unique_ptr<OutputFile> backup;
            if (!backupFolder.isEmpty())
                backup = std::make_unique<OutputFile>(backupPath(QDir(backupFolder).absolutePath(), unit.unit, QDateTime::currentDateTimeUtc()));
            const Result result = provisionUnit(own, unit.form, *unit.plan, context, run.retries, backup.get());
            (*provisionedHere)[u] = result.code == Success;
            return journal ? completeClaim(*journal, claim, result) : result;
        }
        Result idle = portResult(port, {});
        idle.note = QStringLiteral("no unit left for this port");
        return idle;
    });
}

int ProvisionCommand::summarise(const Run &run, const QList<Result> &results, const QList<bool> &provisionedHere,
                                SharedJournal *journal, const JournalLocation &location) const
{
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
    for (int u = 0; u < run.units.size(); ++u) {
        if (!provisionedHere[u] && !done.value(run.units[u].unit).contains(run.units[u].content))
            ++left;
    }
    if (json()) {
        const QJsonObject summary{{QStringLiteral("summary"), QJsonObject{{QStringLiteral("units"), int(run.units.size())},
                                                                          {QStringLiteral("provisioned"), provisioned},
                                                                          {QStringLiteral("failed"), failed},
                                                                          {QStringLiteral("leftToDo"), left}}}};
        print(stdout, QJsonDocument(summary).toJson(QJsonDocument::Compact) + '\n');
    } else {
        printLines(stdout, {QStringLiteral("provisioned %1, failed %2, left to do %3 of %4 units")
                                .arg(provisioned).arg(failed).arg(left).arg(run.units.size())});
    }
    return worstCode(results);
}
