#include "reportcommand.h"

#include "core/content/manifestfile.h"
#include "core/journal/journal.h"
#include "core/journal/journalcsv.h"
#include "core/provisioning/shiftreport.h"
#include "labels/language.h"
#include "labels/shiftreportpage.h"
#include "phrases.h"

#include <QDateTime>
#include <QFileInfo>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QStringList figureCells(const StationFigures &f, const QString &name)
{
    return {name,
            QString::number(f.proven),
            QString::number(f.failed),
            QString::number(f.notSwapped),
            QString::number(f.notProven),
            QString::number(f.interrupted),
            QString::number(f.perHour(), 'f', 1),
            f.firstProofMs ? isoTime(f.firstProofMs) : QString(),
            f.lastProofMs ? isoTime(f.lastProofMs) : QString()};
}

QJsonObject figureObject(const StationFigures &f, const QString &name)
{
    QJsonObject failedBy;
    for (auto it = f.failedBy.cbegin(); it != f.failedBy.cend(); ++it)
        failedBy.insert(it.key().isEmpty() ? QStringLiteral("unknown") : it.key(), it.value());
    return {{QStringLiteral("station"), name},      {QStringLiteral("proven"), f.proven},
            {QStringLiteral("failed"), f.failed},    {QStringLiteral("failedBy"), failedBy},
            {QStringLiteral("notSwapped"), f.notSwapped}, {QStringLiteral("notProven"), f.notProven},
            {QStringLiteral("interrupted"), f.interrupted}, {QStringLiteral("perHour"), f.perHour()},
            {QStringLiteral("firstProof"), f.firstProofMs ? QJsonValue(isoTime(f.firstProofMs)) : QJsonValue()},
            {QStringLiteral("lastProof"), f.lastProofMs ? QJsonValue(isoTime(f.lastProofMs)) : QJsonValue()}};
}

// "mismatch 2, no answer 1": the failures of a station by their reasons.
QString failedByText(const StationFigures &f)
{
    QStringList parts;
    for (auto it = f.failedBy.cbegin(); it != f.failedBy.cend(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key().isEmpty() ? QStringLiteral("unknown") : Phrase::journalReason(it.key())).arg(it.value());
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString ReportCommand::summary() const
{
    return QStringLiteral("What each station did with a manifest: proven, failed by reason, not swapped, not proven, units an hour, "
                          "first and last proof, and what is left.");
}

void ReportCommand::configure(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("manifest"), QStringLiteral("The manifest (CSV with a unit column) whose units are reported."), QStringLiteral("file")},
        {QStringLiteral("since"), QStringLiteral("Only attempts ended from then on: a date, or a date and time (UTC)."), QStringLiteral("time")},
        {QStringLiteral("station"), QStringLiteral("Only this station's attempts (its host name)."), QStringLiteral("name")},
        {QStringLiteral("csv"), QStringLiteral("A table for a spreadsheet: one row a station, then the total.")},
        {QStringLiteral("pdf"), QStringLiteral("One A4 page to print or file, written to -o.")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The PDF to write (-: standard output)."), QStringLiteral("file")},
    });
    addJournalOptions(parser);
    addOutputOptions(parser);
}

int ReportCommand::execute(QCommandLineParser &parser)
{
    const QString manifestPath = parser.value(QStringLiteral("manifest"));
    if (manifestPath.isEmpty() || !parser.positionalArguments().isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli report --manifest FILE [--since TIME] [--station NAME] [--csv | --pdf -o FILE]"));
    if (parser.isSet(QStringLiteral("pdf")) != parser.isSet(QStringLiteral("output")))
        return fail(Refused, QStringLiteral("--pdf and -o go together"));
    ShiftFilter filter;
    filter.station = parser.value(QStringLiteral("station"));
    const QString since = parser.value(QStringLiteral("since"));
    filter.sinceMs = timeOption(since);
    if (!since.isEmpty() && !filter.sinceMs)
        return fail(Refused, QStringLiteral("--since takes a date or a date and time, not \"%1\"").arg(since));
    const ManifestBytes read = readManifestBytes(manifestPath);
    bool ok = read.problem == ManifestBytes::Problem::None;
    const QStringList units = ok ? manifestUnitNames(read.bytes, &ok) : QStringList();
    if (!ok)
        return fail(Refused, QStringLiteral("%1 cannot be read as a manifest with a unit column").arg(manifestPath));
    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), false);
    Journal journal(location, Journal::Mode::Read);
    const QList<Journal::Provisioning> provisionings = journal.isOpen() ? journal.provisionings(0, {}) : QList<Journal::Provisioning>();
    if (!journal.isOpen())
        return fail(Refused, Phrase::journalUnreadable(location.shownName(), journal.problem()));
    const ShiftReport report = shiftReport(units, provisionings, filter);
    if (parser.isSet(QStringLiteral("pdf"))) {
        // The page in the command line's language, English.
        Language::install(QStringLiteral("en"));
        const ShiftReportHeading heading{QFileInfo(manifestPath).fileName(), filter.sinceMs, filter.station, QDateTime::currentMSecsSinceEpoch()};
        const QByteArray pdf = sheetPdf(shiftReportPage(report, heading, Phrase::journalReason));
        Language::install({});
        return writeDocument(parser.value(QStringLiteral("output")), pdf);
    }
    QByteArray out;
    if (json()) {
        QJsonArray stations;
        for (const StationFigures &f : report.stations)
            stations.append(figureObject(f, f.station));
        out = QJsonDocument(QJsonObject{{QStringLiteral("stations"), stations}, {QStringLiteral("total"), figureObject(report.total, {})},
                                        {QStringLiteral("units"), report.units}, {QStringLiteral("left"), report.left}})
                  .toJson(QJsonDocument::Compact) + '\n';
    } else if (parser.isSet(QStringLiteral("csv"))) {
        out = csvLine({QStringLiteral("station"), QStringLiteral("proven"), QStringLiteral("failed"), QStringLiteral("not_swapped"),
                       QStringLiteral("not_proven"), QStringLiteral("interrupted"), QStringLiteral("per_hour"), QStringLiteral("first_proof"),
                       QStringLiteral("last_proof")});
        for (const StationFigures &f : report.stations)
            out += csvLine(figureCells(f, f.station));
        out += csvLine(figureCells(report.total, QStringLiteral("total")));
    } else {
        for (const StationFigures &f : report.stations + QList<StationFigures>{report.total}) {
            const QStringList cells = figureCells(f, f.station.isEmpty() ? QStringLiteral("total") : f.station);
            QString line = QStringLiteral("%1: proven %2, failed %3, not swapped %4, not proven %5, interrupted %6, %7 an hour")
                               .arg(cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]);
            if (f.firstProofMs)
                line += QStringLiteral(", proofs %1 to %2").arg(cells[7], cells[8]);
            if (!f.failedBy.isEmpty())
                line += QStringLiteral("; failed: ") + failedByText(f);
            out += Phrase::shown(line).toUtf8() + '\n';
        }
        out += QStringLiteral("left %1 of %2 units\n").arg(report.left).arg(report.units).toUtf8();
    }
    return print(stdout, out) ? Success : NotRecorded;
}
