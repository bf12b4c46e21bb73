#include "labelcommand.h"

#include "core/journal/journal.h"
#include "core/label/labelsize.h"
#include "core/storage/outputfile.h"
#include "labels/labelpdf.h"
#include "phrases.h"

namespace {

// The label of one entry, or of the entry that last proved a unit.
std::optional<LabelContent> labelOf(Journal &journal, bool byEntry, const QString &wanted)
{
    std::optional<JournalEntry> entry;
    if (byEntry) {
        bool ok = false;
        const qint64 id = wanted.toLongLong(&ok);
        entry = ok ? journal.entry(id) : std::nullopt;
    } else {
        Journal::Filter proven;
        proven.unit = wanted;
        proven.operation = JournalName::Provision;
        proven.result = JournalName::Ok;
        proven.limit = 1;
        const QList<JournalEntry> found = journal.find(proven);
        entry = found.isEmpty() ? std::nullopt : std::optional<JournalEntry>(found.first());
    }
    return entry ? labelFor(*entry) : std::nullopt;
}

} // namespace

QString LabelCommand::summary() const
{
    return QStringLiteral("Make the labels of proven units as a PDF, from their journal entries.");
}

void LabelCommand::configure(QCommandLineParser &parser)
{
    QStringList sizes;
    for (const LabelSize &size : labelSizes())
        sizes << size.id;
    parser.addOptions({
        {QStringLiteral("entry"), QStringLiteral("A unit's provision entry in the journal; again for more labels, in order."),
         QStringLiteral("id")},
        {QStringLiteral("unit"), QStringLiteral("A unit, by the entry that last proved it; again for more labels, in order."),
         QStringLiteral("name")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The PDF to write (-: standard output)."), QStringLiteral("file")},
        {QStringLiteral("size"), QStringLiteral("The label stock: %1 (default 62x29).").arg(sizes.join(QStringLiteral(", "))),
         QStringLiteral("size"), QStringLiteral("62x29")},
        {QStringLiteral("first-place"), QStringLiteral("On a sheet used before: the place the first label takes, from 1 (default 1)."),
         QStringLiteral("n"), QStringLiteral("1")},
    });
    addJournalOptions(parser);
}

int LabelCommand::execute(QCommandLineParser &parser)
{
    const bool byEntry = parser.isSet(QStringLiteral("entry"));
    if (byEntry == parser.isSet(QStringLiteral("unit")) || !parser.isSet(QStringLiteral("output")))
        return fail(Refused, QStringLiteral("usage: tavir340-cli label (--entry ID | --unit NAME) -o FILE.pdf [--size SIZE]"));
    const LabelSize *size = labelSize(parser.value(QStringLiteral("size")));
    if (!size)
        return fail(Refused, QStringLiteral("--size: no label stock \"%1\"").arg(parser.value(QStringLiteral("size"))));
    bool placeOk = false;
    const int firstPlace = parser.value(QStringLiteral("first-place")).toInt(&placeOk);
    if (!placeOk || firstPlace < 1 || firstPlace > size->perPage())
        return fail(Refused, QStringLiteral("--first-place: a place from 1 to %1 (the places of %2)").arg(size->perPage()).arg(size->id));
    if (parser.isSet(QStringLiteral("no-journal")))
        return fail(Refused, QStringLiteral("--no-journal: a label comes from the journal"));
    const JournalLocation location = journalLocation(parser.value(QStringLiteral("journal")), false);
    Journal journal(location, Journal::Mode::Read);
    if (!journal.isOpen())
        return fail(Refused, Phrase::journalUnreadable(location.shownName(), journal.problem()));
    // Every one is labelled, in the order given, or none: a label left out
    // would leave its module without one.
    QList<LabelContent> labels;
    for (const QString &wanted : parser.values(byEntry ? QStringLiteral("entry") : QStringLiteral("unit"))) {
        const std::optional<LabelContent> label = labelOf(journal, byEntry, wanted);
        if (!label)
            return fail(Refused, byEntry ? QStringLiteral("entry %1 is not a proven unit").arg(wanted)
                                         : QStringLiteral("unit %1 is not proven in the journal").arg(wanted));
        labels.append(*label);
    }
    return writeDocument(parser.value(QStringLiteral("output")), labelsPdf(labels, *size, firstPlace - 1));
}
