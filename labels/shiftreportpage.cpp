#include "shiftreportpage.h"

#include "language.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

namespace {

// The window's texts, in the context they are translated in.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(WindowText)
};

QString when(qint64 ms)
{
    return ms ? Language::locale().toString(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC), QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral(" UTC")
              : QStringLiteral("-");
}

QStringList row(const StationFigures &f, const QString &name)
{
    const QLocale locale = Language::locale();
    return {name,
            locale.toString(f.proven),
            locale.toString(f.failed),
            locale.toString(f.notSwapped),
            locale.toString(f.notProven),
            locale.toString(f.interrupted),
            locale.toString(f.perHour(), 'f', 1),
            when(f.firstProofMs),
            when(f.lastProofMs)};
}

// "bench-1: the module holds another configuration 2, no answer 1".
QString failures(const StationFigures &f, const std::function<QString(const QString &)> &reasonText)
{
    QStringList parts;
    for (auto it = f.failedBy.cbegin(); it != f.failedBy.cend(); ++it)
        parts << Texts::tr("%1 (%2)").arg(it.key().isEmpty() ? Texts::tr("ismeretlen ok") : reasonText(it.key())).arg(it.value());
    return parts.join(QStringLiteral("; "));
}

} // namespace

SheetPage shiftReportPage(const ShiftReport &report, const ShiftReportHeading &heading,
                          const std::function<QString(const QString &)> &reasonText)
{
    const QLocale locale = Language::locale();
    SheetPage page;
    page.title = Texts::tr("Műszak összesítő: %1").arg(heading.manifest);
    page.facts = {
        {Texts::tr("Egységek"), Texts::tr("%1, ebből hátra van %2").arg(locale.toString(report.units), locale.toString(report.left))},
        {Texts::tr("Időszak"), heading.sinceMs ? Texts::tr("%1 óta").arg(when(*heading.sinceMs)) : Texts::tr("a napló egésze")},
        {Texts::tr("Állomás"), heading.station.isEmpty() ? Texts::tr("mind") : heading.station},
    };
    page.tableHeader = {Texts::tr("Állomás"), Texts::tr("Igazolva"), Texts::tr("Hiba"), Texts::tr("Nem cserélt"), Texts::tr("Nem igazolt"),
                        Texts::tr("Megszakítva"), Texts::tr("Egység/óra"), Texts::tr("Első igazolás"), Texts::tr("Utolsó igazolás")};
    page.columnShares = {0.14, 0.09, 0.06, 0.09, 0.09, 0.12, 0.08, 0.165, 0.165};
    for (const StationFigures &f : report.stations)
        page.tableRows << row(f, f.station);
    page.tableRows << row(report.total, Texts::tr("Összesen"));
    for (const StationFigures &f : report.stations) {
        if (!f.failedBy.isEmpty())
            page.moreFacts << qMakePair(Texts::tr("Hibák, %1").arg(f.station), failures(f, reasonText));
    }
    page.footer = Texts::tr("Készült: %1, a napló alapján").arg(when(heading.madeMs));
    return page;
}
