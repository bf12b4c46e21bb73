#include "shiftreport.h"

#include "core/content/manifest.h"
#include "core/journal/journalreason.h"

#include <QSet>

#include <algorithm>

namespace {

void count(StationFigures &figures, const Journal::Provisioning &p)
{
    const QString reason = JournalReason::split(p.reason).id;
    if (p.result == JournalName::Ok) {
        ++figures.proven;
        figures.firstProofMs = figures.firstProofMs ? std::min(figures.firstProofMs, p.endedMs) : p.endedMs;
        figures.lastProofMs = std::max(figures.lastProofMs, p.endedMs);
    } else if (p.result == JournalName::Interrupted) {
        ++figures.interrupted;
    } else if (reason == JournalReason::NotSwapped) {
        ++figures.notSwapped;
    } else if (reason == JournalReason::NotProven) {
        ++figures.notProven;
    } else {
        ++figures.failed;
        ++figures.failedBy[reason];
    }
}

} // namespace

double StationFigures::perHour() const
{
    constexpr double HourMs = 60.0 * 60 * 1000;
    if (proven < 2 || lastProofMs <= firstProofMs)
        return 0;
    return double(proven - 1) * HourMs / double(lastProofMs - firstProofMs);
}

ShiftReport shiftReport(const QStringList &units, const QList<Journal::Provisioning> &provisionings, const ShiftFilter &filter)
{
    ShiftReport report;
    report.units = int(units.size());
    const QSet<QString> manifest(units.cbegin(), units.cend());
    QSet<QString> proven;
    QMap<QString, StationFigures> stations;
    for (const Journal::Provisioning &p : provisionings) {
        if (!manifest.contains(p.unit) || p.result.isEmpty())
            continue;
        if (p.result == JournalName::Ok)
            proven.insert(p.unit);
        if ((filter.sinceMs && p.endedMs < *filter.sinceMs) || (!filter.station.isEmpty() && p.station != filter.station))
            continue;
        StationFigures &figures = stations[p.station];
        figures.station = p.station;
        count(figures, p);
        count(report.total, p);
    }
    report.stations = stations.values();
    report.left = report.units - int(proven.size());
    return report;
}

QStringList manifestUnitNames(const QByteArray &csv, bool *ok)
{
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
    const QChar delimiter = firstLine.count(u';') > firstLine.count(u',') ? u';' : u',';
    QList<QStringList> rows;
    int badRow = 0;
    *ok = parseCsv(text, &rows, &badRow, delimiter) && !rows.isEmpty();
    const qsizetype column = *ok ? rows.first().indexOf(QStringLiteral("unit")) : -1;
    *ok = column >= 0;
    QStringList names;
    for (qsizetype r = 1; *ok && r < rows.size(); ++r) {
        const QString name = rows[r].value(column).trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}
