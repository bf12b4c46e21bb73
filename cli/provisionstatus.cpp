// provision --status and --release: what the journal says of each unit of a
// manifest, and freeing a claim that a run left behind.

#include "provisioncommand.h"

#include "core/journal/journalcsv.h"
#include "core/provisioning/unitstatus.h"
#include "phrases.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QStringList csvRow(const UnitStatus &s)
{
    return {s.unit, stateName(s.state), s.entry ? QString::number(s.entry) : QString(), s.whenMs ? isoTime(s.whenMs) : QString(), s.station,
            Phrase::journalReason(s.reason)};
}

} // namespace

int ProvisionCommand::status(const Run &run, const JournalLocation &location) const
{
    if (location.kind == JournalLocation::Kind::Off)
        return fail(Refused, QStringLiteral("--status reads the journal: give --journal, not --no-journal"));
    Journal journal(location);
    if (!journal.isOpen())
        return fail(Refused, Phrase::journalUnreadable(location.shownName(), journal.problem()));
    QByteArray out;
    if (run.csv)
        out += "unit,state,entry,when,station,reason\r\n";
    for (const UnitStatus &s : manifestStatus(journal, run.units)) {
        if (json()) {
            out += QJsonDocument(QJsonObject{{QStringLiteral("unit"), s.unit}, {QStringLiteral("state"), stateName(s.state)},
                                             {QStringLiteral("entry"), s.entry ? QJsonValue(s.entry) : QJsonValue()},
                                             {QStringLiteral("when"), s.whenMs ? QJsonValue(isoTime(s.whenMs)) : QJsonValue()},
                                             {QStringLiteral("station"), s.station.isEmpty() ? QJsonValue() : QJsonValue(s.station)},
                                             {QStringLiteral("reason"), s.reason.isEmpty() ? QJsonValue() : QJsonValue(s.reason)}})
                       .toJson(QJsonDocument::Compact) + '\n';
        } else if (run.csv) {
            out += csvLine(csvRow(s));
        } else {
            QStringList row = csvRow(s);
            row.removeAll(QString());
            out += Phrase::shown(row.join(QStringLiteral("  "))).toUtf8() + '\n';
        }
    }
    return print(stdout, out) ? Success : NotRecorded;
}

int ProvisionCommand::releaseClaim(const QCommandLineParser &parser, const JournalLocation &location) const
{
    const QString unit = parser.value(QStringLiteral("release"));
    if (location.kind == JournalLocation::Kind::Off)
        return fail(Refused, QStringLiteral("--release frees a claim in the journal: give --journal, not --no-journal"));
    Journal journal(location);
    const std::optional<Journal::ClaimResult> released = journal.isOpen() ? journal.releaseClaim(unit, parser.isSet(QStringLiteral("even-live")) || parser.isSet(QStringLiteral("force")))
                                                                          : std::nullopt;
    if (!released)
        return fail(Refused, QStringLiteral("the journal %1 cannot be changed: %2").arg(location.shownName(), Phrase::journalProblem(journal.problem())));
    const Journal::ClaimRow &row = released->holder;
    const QString whose = QStringLiteral("%1, process %2, since %3").arg(row.holder.station).arg(row.holder.pid).arg(isoTime(row.takenMs));
    switch (released->claim) {
    case Journal::Claim::Done:
        return printLines(stdout, {QStringLiteral("%1: no claim to release").arg(unit)}) ? Success : NotRecorded;
    case Journal::Claim::Held:
        return fail(Refused, QStringLiteral("%1 is claimed by a live run (%2, lease until %3): give --even-live to free it all the same")
                                 .arg(unit, whose, isoTime(row.leaseUntilMs)));
    default:
        return printLines(stdout, {QStringLiteral("%1: released the claim of %2").arg(unit, whose)}) ? Success : NotRecorded;
    }
}
