#include "provisioncommand.h"

#include "core/content/manifestfile.h"

#include "core/content/manifest.h"
#include "core/storage/streamread.h"
#include "core/journal/journalcsv.h"
#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"
#include "core/operations/readupfile.h"
#include "core/storage/filenames.h"
#include "core/storage/outputfile.h"
#include "core/storage/ownfolder.h"
#include "labels/labelfile.h"
#include "core/journal/sharedjournal.h"
#include "phrases.h"
#include "portjobs.h"
#include "portrun.h"
#include "core/plan/transferplan.h"
#include "core/provisioning/unitchoice.h"
#include "core/provisioning/unitclaim.h"
#include "core/link/moduleexchange.h"
#include "core/port/portname.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSet>

#include <QBuffer>

#include <cstring>
#include <numeric>
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
        {QStringLiteral("backup"), QStringLiteral("First keep what each module held in <dir>/<unit>-<entry>.t16 (0600, never replaced)."),
         QStringLiteral("dir")},
        {QStringLiteral("overwrite-held"), QStringLiteral("Write a module that holds another unit just provisioned.")},
        {QStringLiteral("status"), QStringLiteral("Say, per unit, whether it is done, claimed, failed, changed since provisioned or left; nothing is written.")},
        {QStringLiteral("csv"), QStringLiteral("With --status: CSV.")},
        {QStringLiteral("release"), QStringLiteral("Free the claim on this unit: one whose lease has run out or whose process is gone (any with --even-live)."),
         QStringLiteral("unit")},
        {QStringLiteral("even-live"), QStringLiteral("With --release: free the claim although its run lives, saying whose it was.")},
        {QStringLiteral("labels"), QStringLiteral("Make the label of each proven unit as <dir>/<unit>-<entry>.pdf (never replaced)."),
         QStringLiteral("dir")},
        {QStringLiteral("label-size"), QStringLiteral("The label stock of --labels (default 62x29; see tavir340-cli label --help)."),
         QStringLiteral("size"), QStringLiteral("62x29")},
    });
    addOldForceOption(parser);  // --overwrite-held, and --even-live with --release
    addLinkOptions(parser);
    addJournalOptions(parser);
    addDryRunOption(parser);
    addOutputOptions(parser);
}

namespace {

// Far more than any batch: a manifest read from a pipe stops there.

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
    case Reason::UnitTooLong: why = QStringLiteral("a unit's name takes at most %1 characters").arg(MaxUnitLength); break;
    case Reason::UnitControl: why = QStringLiteral("the unit's name holds a control character"); break;
    case Reason::UnitNotUtf8: why = QStringLiteral("the unit's name holds bytes that are not UTF-8"); break;
    case Reason::UnitLeading: why = QStringLiteral("a unit's name may not start with - or ."); break;
    case Reason::UnitFileName: why = QStringLiteral("the same file name as the unit of row %1").arg(problem.otherRow); break;
    case Reason::CellCount: why = QStringLiteral("more cells than the header has columns"); break;
    case Reason::BackupValue: why = QStringLiteral("a backup cell takes yes, no or nothing"); break;
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

} // namespace

std::optional<ProvisionCommand::Run> ProvisionCommand::parse(QCommandLineParser &parser) const
{
    Run run;
    const QStringList arguments = parser.positionalArguments();
    run.ports = parser.values(QStringLiteral("port"));
    run.manifestPath = parser.value(QStringLiteral("manifest"));
    const bool status = parser.isSet(QStringLiteral("status"));
    if (arguments.size() != 1 || (run.ports.isEmpty() && !status) || run.manifestPath.isEmpty()) {
        fail(Refused, QStringLiteral("usage: tavir340-cli provision TEMPLATE --manifest UNITS.csv --port P [--port P2 ...]"
                                     " | provision TEMPLATE --manifest UNITS.csv --status | provision --release UNIT"));
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
    const ManifestBytes read = readManifestBytes(run.manifestPath);
    if (read.problem != ManifestBytes::Problem::None) {
        fail(Refused, QStringLiteral("%1: %2").arg(run.manifestPath, Phrase::fileBytesProblem(read, true)));
        return false;
    }
    QBuffer manifestFile;
    manifestFile.setData(read.bytes);
    manifestFile.open(QIODevice::ReadOnly);
    const Manifest manifest = readManifest(manifestFile, *templateForm, run.settings);
    for (const ManifestProblem &problem : manifest.problems)
        fail(Refused, run.manifestPath + QStringLiteral(": ") + manifestProblem(problem, run.settings.DownloadSeparator));
    if (!manifest.problems.isEmpty())
        return false;
    run.templateForm = *templateForm;
    run.units = manifest.units;
    if (!run.only.isEmpty()) {
        run.units.removeIf([&run](const ManifestUnit &unit) { return unit.unit != run.only; });
        if (run.units.isEmpty()) {
            fail(Refused, QStringLiteral("no unit %1 in %2").arg(run.only, run.manifestPath));
            return false;
        }
    }
    run.candidates = run.all = chooseUnits(run.units, run.ports, !run.only.isEmpty());
    return true;
}

int ProvisionCommand::dryRun(const Run &run) const
{
    for (int p = 0; p < run.ports.size(); ++p) {
        if (run.candidates[p].isEmpty())
            continue;
        const ManifestUnit &unit = run.units[run.candidates[p].first()];
        const std::optional<BuiltUnit> built = buildUnit(unit, run.templateForm, run.settings);
        if (!printLines(stdout, {QStringLiteral("%1: %2 would take %3 (row %4) if the journal does not hold it as done")
                                     .arg(run.ports[p], unit.unit, unit.unit).arg(unit.row)})
            || !built || !printDryRun({run.ports[p]}, downloadPieces(built->plan)))
            return NotRecorded;
    }
    return Success;
}

int ProvisionCommand::execute(QCommandLineParser &parser)
{
    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), parser.isSet(QStringLiteral("no-journal")));
    if (parser.isSet(QStringLiteral("release")))
        return releaseClaim(parser, location);
    std::optional<Run> run = parse(parser);
    if (!run || !readUnits(*run))
        return Refused;
    if (parser.isSet(QStringLiteral("dry-run")))
        return dryRun(*run);
    run->csv = parser.isSet(QStringLiteral("csv"));
    if (parser.isSet(QStringLiteral("status")))
        return status(*run, location);
    if (location.kind == JournalLocation::Kind::Off && run->only.isEmpty() && !run->again)
        return fail(Refused, QStringLiteral("without a journal this run cannot know which units are done: give --unit NAME or --again"));
    std::unique_ptr<SharedJournal> journal;
    if (!openJournal(parser, &journal))
        return Refused;
    if (!this->backupFolder(parser, &run->backupFolder) || !labelOptions(parser, !journal, *run))
        return Refused;
    run->force = parser.isSet(QStringLiteral("overwrite-held")) || parser.isSet(QStringLiteral("force"));
    if (journal && !skipDone(*run, location))
        return Refused;
    const QList<Result> results = provisionAll(*run, journal.get());
    return summarise(*run, results, location);
}

// Units the journal holds as proven are left out before any claim: one
// query for the whole manifest.
bool ProvisionCommand::skipDone(Run &run, const JournalLocation &location) const
{
    if (run.again)
        return true;
    Journal reader(location, Journal::Mode::Read);
    if (!reader.isOpen())
        return true;  // a journal made just now holds nothing yet
    run.provenBefore = reader.provisioned();
    const DoneUnits found = leaveOutDone(run.candidates, run.units, run.provenBefore, !run.only.isEmpty());
    run.skipped.done = found.done;
    run.skipped.changed = found.changed;
    return true;
}

namespace {

Result portResult(const QString &port, const QString &unit)
{
    Result result;
    result.port = port;
    result.unit = unit;
    result.operation = QStringLiteral("provision");
    return result;
}

} // namespace

// Why a port took no unit, in a few words.
QString ProvisionCommand::nothingToDo(const Run &run, int row, const QList<Journal::ClaimResult> &held) const
{
    QStringList why;
    int done = 0, changed = 0, bound = 0;
    for (int u : run.all[row]) {
        done += run.skipped.done.contains(u);
        changed += run.skipped.changed.contains(u) && !run.skipped.done.contains(u);
    }
    for (const ManifestUnit &unit : run.units)
        bound += !unit.port.isEmpty() && std::none_of(run.ports.cbegin(), run.ports.cend(), [&](const QString &p) { return SerialDevice::sameDevice(unit.port, p); });
    if (run.units.isEmpty())
        return QStringLiteral("the manifest holds no unit");
    if (done)
        why << QStringLiteral("%1 done").arg(done);
    if (changed)
        why << QStringLiteral("%1 changed since provisioned (give --again or --unit)").arg(changed);
    for (const Journal::ClaimResult &claim : held)
        why << QStringLiteral("%1 claimed by %2 (process %3) since %4").arg(claim.holder.unit, claim.holder.holder.station)
                   .arg(claim.holder.holder.pid).arg(isoTime(claim.holder.takenMs));
    if (bound)
        why << QStringLiteral("%1 bound to a port not in this run").arg(bound);
    return QStringLiteral("no unit left for this port") + (why.isEmpty() ? QString() : QStringLiteral(": ") + why.join(QStringLiteral(", ")));
}

QList<Result> ProvisionCommand::provisionAll(const Run &run, SharedJournal *journal) const
{
    Batch batch;
    batch.units = run.units;
    batch.templateForm = run.templateForm;
    batch.settings = run.settings;
    batch.manifestPath = run.manifestPath;
    batch.backupFolder = run.backupFolder;
    batch.retries = run.retries;
    batch.again = run.again;
    batch.onlyOne = !run.only.isEmpty();
    batch.force = run.force;
    return runOnPorts(run.ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt, ProgressBars &bars) {
        LinkSettings own = run.settings;
        own.Port = port;
        PortContext context(row, interrupt, bars, journal);
        context.file = run.manifestPath;
        ClaimedUnit picked = claimNextUnit(batch, run.candidates[row], port, journal);
        if (picked.kind == ClaimedUnit::Kind::JournalRefused) {
            Result refused = portResult(port, run.units[picked.index].unit);
            refused.code = Refused;
            refused.message = QStringLiteral("the journal does not take the claim, nothing was sent: ")
                            + Phrase::journalProblem(journal->problem());
            return refused;
        }
        if (picked.kind == ClaimedUnit::Kind::NoneLeft) {
            Result idle = portResult(port, {});
            idle.note = nothingToDo(run, row, picked.heldElsewhere);
            return idle;
        }
        const PreparedUnit prepared = prepareUnit(batch, picked.index, journal ? &picked.claim : nullptr);
        Result result = provisionPort(prepared.job, own, context, journal);
        if (result.unitState == UnitState::Proven && !run.labelFolder.isEmpty())
            writeLabel(run, picked.claim, result);
        return result;
    });
}

// A label names its journal entry, so it needs the journal.
bool ProvisionCommand::labelOptions(const QCommandLineParser &parser, bool journalOff, Run &run) const
{
    run.labelFolder = parser.value(QStringLiteral("labels"));
    if (run.labelFolder.isEmpty())
        return true;
    run.labelSize = labelSize(parser.value(QStringLiteral("label-size")));
    if (!run.labelSize) {
        fail(Refused, QStringLiteral("--label-size: no label stock \"%1\"").arg(parser.value(QStringLiteral("label-size"))));
        return false;
    }
    if (journalOff) {
        fail(Refused, QStringLiteral("--labels needs the journal: a label names the unit's entry"));
        return false;
    }
    if (run.labelFolder == QLatin1String("-")) {
        fail(Refused, QStringLiteral("--labels takes a folder, not -"));
        return false;
    }
    if (const FileError error = makeOwnFolder(run.labelFolder)) {
        fail(Refused, Phrase::cannotUseFolder(QStringLiteral("label"), run.labelFolder, error));
        return false;
    }
    run.labelFolder = QDir(run.labelFolder).absolutePath();
    return true;
}

// "<dir>/gate-0041-1234.pdf", made, never replacing a name that is there.
void ProvisionCommand::writeLabel(const Run &run, const JournalEntry &proven, Result &result)
{
    const std::optional<LabelContent> label = labelFor(proven);
    if (!label)
        return;
    QString path;
    if (const FileError error = writeLabelFile(run.labelFolder, *label, *run.labelSize, &path)) {
        result.code = std::max(result.code, NotRecorded);
        result.message = QStringLiteral("cannot write the label %1: %2").arg(path, Phrase::fileError(error));
        return;
    }
    result.label = path;
}

int ProvisionCommand::summarise(const Run &run, const QList<Result> &results, const JournalLocation &location) const
{
    // What is done now: proven in this run, or earlier with the same content.
    QHash<QString, Journal::Proven> proven = run.provenBefore;
    if (location.kind != JournalLocation::Kind::Off) {
        const qint64 seen = std::accumulate(proven.cbegin(), proven.cend(), qint64(0),
                                            [](qint64 newest, const Journal::Proven &p) { return std::max(newest, p.entry); });
        proven.insert(Journal(location, Journal::Mode::Read).provisioned(seen));
    }
    int provisioned = 0, notProven = 0, failed = 0, done = 0;
    QSet<QString> provenHere;
    int worst = Success;
    for (const Result &result : results) {
        report(result);
        worst = std::max<int>(worst, result.code);
        if (!result.unitState)
            continue;
        if (*result.unitState == UnitState::Proven) {
            ++provisioned;
            provenHere.insert(result.unit);
        } else {
            // Written and not proven, whatever the reason: a claim lost after the write too.
            (result.code == NotRecorded ? notProven : failed)++;
        }
    }
    for (int u = 0; u < run.units.size(); ++u) {
        const ManifestUnit &unit = run.units[u];
        const auto found = proven.constFind(unit.unit);
        done += provenHere.contains(unit.unit) || (found != proven.cend() && found->contentSha256 == unit.contentSha256);
    }
    const int left = int(run.units.size()) - done;
    if (json()) {
        const QJsonObject summary{{QStringLiteral("summary"), QJsonObject{{QStringLiteral("units"), int(run.units.size())},
                                                                          {QStringLiteral("provisioned"), provisioned},
                                                                          {QStringLiteral("notProven"), notProven},
                                                                          {QStringLiteral("failed"), failed},
                                                                          {QStringLiteral("done"), done},
                                                                          {QStringLiteral("leftToDo"), left}}}};
        print(stdout, QJsonDocument(summary).toJson(QJsonDocument::Compact) + '\n');
    } else {
        printLines(stdout, {QStringLiteral("proven %1, not proven %2, failed %3; done %4, left to do %5 of %6 units")
                                .arg(provisioned).arg(notProven).arg(failed).arg(done).arg(left).arg(run.units.size())});
    }
    // Zero only when the whole manifest is proven.
    return worst != Success ? worst : left > 0 ? UnitsLeft : Success;
}
