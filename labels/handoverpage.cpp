#include "handoverpage.h"

#include "fieldcaptions.h"
#include "language.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

// The window's texts, in the context they have always been translated in.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(WindowText)
};

QString yes(bool on)
{
    return on ? Texts::tr("igen") : QStringLiteral("-");
}

// "+36 20 123 4567" as the customer dials it: the module's digits, with "+".
QString dialled(const QString &digits)
{
    return digits.isEmpty() ? QString() : u'+' + digits;
}

// Which numbers may open the gate by a call, and which to call.
QString howToOpen(const HandoverSheet &sheet)
{
    QStringList controlling;
    for (const HandoverRow &row : sheet.rows)
        if (row.controls())
            controlling << (row.name.isEmpty() ? dialled(row.number) : row.name);
    const QString call = sheet.simNumber.isEmpty() ? Texts::tr("Hívja a modul számát") : Texts::tr("Hívja a %1 számot").arg(dialled(sheet.simNumber));
    if (controlling.isEmpty())
        return Texts::tr("Egyik szám sem vezérli a kimeneteket.");
    return Texts::tr("%1 ezekről a számokról: %2.").arg(call, controlling.join(QStringLiteral(", ")));
}

QString captionOf(int field)
{
    QString caption = fieldCaption(field);
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption;
}

} // namespace

SheetPage handoverPage(const HandoverSheet &sheet, const HandoverOptions &options)
{
    const QLocale locale = Language::locale();
    SheetPage page;
    page.title = Texts::tr("Tavir-340 modul: %1").arg(sheet.moduleName.isEmpty() ? Texts::tr("(névtelen)") : sheet.moduleName);
    page.facts = {
        {Texts::tr("Modul neve"), sheet.moduleName},
        {Texts::tr("Modul azonosító"), sheet.moduleId},
        {Texts::tr("A modul telefonszáma"), sheet.simNumber.isEmpty() ? Texts::tr("(nincs megadva)") : dialled(sheet.simNumber)},
        {Texts::tr("Kapunyitás"), howToOpen(sheet)},
        {Texts::tr("PIN-kód"), options.withPin ? sheet.pin : Texts::tr("(nincs a lapon)")},
        {Texts::tr("Relé meghúzási idő"), Texts::tr("%1 másodperc").arg(sheet.relaySeconds)},
        {Texts::tr("Visszaállás"), sheet.restore ? Texts::tr("igen") : Texts::tr("nem")},
        {Texts::tr("1-es bemenet"), sheet.input1Name},
        {Texts::tr("2-es bemenet"), sheet.input2Name},
        {Texts::tr("Dátum"), locale.toString(options.date.isValid() ? options.date : QDate::currentDate(), QLocale::LongFormat)},
    };
    page.columnShares = {0.05, 0.25, 0.22, 0.12, 0.12, 0.12, 0.12};
    page.tableHeader = {QStringLiteral("#"), Texts::tr("Név"), Texts::tr("Telefonszám"), Texts::tr("1-es bemenet riaszt"),
                        Texts::tr("2-es bemenet riaszt"), Texts::tr("3-as kimenetet vezérli"), Texts::tr("4-es kimenetet vezérli")};
    for (const HandoverRow &row : sheet.rows)
        page.tableRows.append({QString::number(row.row), row.name, dialled(row.number), yes(row.alarmedByInput1), yes(row.alarmedByInput2),
                               yes(row.controlsOutput3), yes(row.controlsOutput4)});
    for (const auto &[field, text] : sheet.texts)
        page.moreFacts.append({captionOf(field), text});
    page.footer = options.installer.isEmpty() ? QString() : Texts::tr("Telepítette: %1").arg(options.installer);
    return page;
}
