#include "stationtexts.h"

#include "gui/texts/windowtexts.h"

#include <QCoreApplication>


namespace {

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Station)
};

QString differingFields(const UnitOutcome &outcome)
{
    const StepOutcome *last = outcome.decisive();
    if (!last || last->differences.isEmpty())
        return {};
    // As many as a tile shows at arm's length; the journal holds them all.
    constexpr int Shown = 5;
    QStringList names;
    for (const FieldDifference &difference : last->differences.mid(0, Shown))
        names << difference.name;
    QString text = Texts::tr("Eltérő mezők: %1").arg(names.join(QStringLiteral(", ")));
    if (last->differences.size() > Shown)
        text += Texts::tr(" és még %1").arg(last->differences.size() - Shown);
    return QLatin1Char('\n') + text;
}

} // namespace

namespace StationText {

QString stage(Stage stage)
{
    switch (stage) {
    case Stage::Backup: return Texts::tr("Mentés");
    case Stage::Download: return Texts::tr("Betöltés");
    case Stage::Readup: return Texts::tr("Visszaolvasás");
    case Stage::Verify: return Texts::tr("Ellenőrzés");
    }
    return {};
}

QString outcome(const UnitOutcome &outcome)
{
    const StepOutcome *last = outcome.decisive();
    const QString why = last ? WindowText::journalReason(last->reason) : QString();
    switch (outcome.state) {
    case UnitState::Proven: return Texts::tr("✔ Igazolva");
    case UnitState::WrittenNotProven: return Texts::tr("! Beírva, de nem igazolt: a napló nem rögzítette");
    case UnitState::Failed: return Texts::tr("✖ Hiba: %1").arg(why) + differingFields(outcome);
    case UnitState::NotWritten: return Texts::tr("✖ Nem lett írva: %1").arg(why);
    case UnitState::NotSwapped: return Texts::tr("! A modul még a(z) %1 egységet tartalmazza: cserélje ki").arg(outcome.heldUnit);
    case UnitState::ClaimLost:
        return outcome.wrote() ? Texts::tr("! A foglalás elveszett: beírva, de nem igazolt")
                               : Texts::tr("! A foglalás elveszett, a modul nem lett írva");
    case UnitState::Interrupted: return Texts::tr("! Megszakítva: a modul tartalma ismeretlen");
    }
    return {};
}

QString manifestProblem(const ManifestProblem &problem, char separator)
{
    using Reason = ManifestProblem::Reason;
    const QString where = problem.column.isEmpty() ? Texts::tr("%1. sor").arg(problem.row)
                                                   : Texts::tr("%1. sor, %2 oszlop").arg(problem.row).arg(problem.column);
    QString why;
    switch (problem.reason) {
    case Reason::BadCsv: why = Texts::tr("egy idézőjeles cella nincs lezárva"); break;
    case Reason::NoUnitColumn: why = Texts::tr("nincs unit oszlop"); break;
    case Reason::UnknownColumn: why = Texts::tr("nincs ilyen mező"); break;
    case Reason::DuplicateColumn: why = Texts::tr("az oszlop kétszer szerepel"); break;
    case Reason::EmptyUnit: why = Texts::tr("az egységnek nincs neve"); break;
    case Reason::DuplicateUnit: why = Texts::tr("ugyanaz az egység, mint a(z) %1. sorban").arg(problem.otherRow); break;
    case Reason::UnitTooLong: why = Texts::tr("az egység neve legfeljebb %1 karakter").arg(MaxUnitLength); break;
    case Reason::UnitControl: why = Texts::tr("az egység neve vezérlőkaraktert tartalmaz"); break;
    case Reason::UnitNotUtf8: why = Texts::tr("az egység neve nem UTF-8"); break;
    case Reason::UnitLeading: why = Texts::tr("az egység neve nem kezdődhet - vagy . karakterrel"); break;
    case Reason::UnitFileName: why = Texts::tr("ugyanaz a fájlnév, mint a(z) %1. sor egységéé").arg(problem.otherRow); break;
    case Reason::CellCount: why = Texts::tr("több cella, mint ahány oszlop"); break;
    case Reason::BackupValue: why = Texts::tr("a backup cella értéke yes, no vagy üres"); break;
    case Reason::Value:
    case Reason::Content:
        why = problem.refusal.reason == EditRefusal::Reason::Refused
                  ? WindowText::downloadRefusal(problem.refusal.refusal, separator)
                  : Texts::tr("a(z) %1 érték nem írható be").arg(problem.refusal.assignment);
        break;
    case Reason::Unsavable: why = WindowText::unsavable(problem.unsavable); break;
    }
    return where + QStringLiteral(": ") + why;
}

QString unitState(UnitStatus::State state)
{
    using State = UnitStatus::State;
    switch (state) {
    case State::Left: break;
    case State::Done: return Texts::tr("kész");
    case State::Changed: return Texts::tr("módosult a beírás óta");
    case State::Claimed: return Texts::tr("foglalt");
    case State::Failed: return Texts::tr("hibás");
    case State::NotProven: return Texts::tr("beírva, nem igazolt");
    case State::NotSwapped: return Texts::tr("nem cserélték ki");
    case State::Interrupted: return Texts::tr("megszakítva");
    case State::ClaimLost: return Texts::tr("foglalás elveszett");
    }
    return Texts::tr("hátra van");
}

} // namespace StationText
