#include "journalsearch.h"

#include "core/journal/journalcsv.h"

JournalSearch::JournalSearch(const JournalLocation &location)
    : m_connection(location)
{
}

JournalSearch::~JournalSearch() = default;

void JournalSearch::find(int generation, const Journal::Filter &filter)
{
    if (generation != m_latest)
        return;  // typed over already
    Journal::Filter page = filter;
    page.limit = PageSize;
    page.withContent = false;  // fetched for the one entry that is chosen
    const QList<JournalEntry> entries = journal()->find(page);
    if (generation != m_latest)
        return;
    emit found(generation, entries, entries.size() == PageSize);
    if (filter.olderThan)
        return;
    const qint64 total = journal()->count(filter, [this, generation] { return generation != m_latest; });
    if (total >= 0)
        emit counted(generation, total);
}

void JournalSearch::fetch(qint64 id)
{
    emit fetched(journal()->entry(id));
}

void JournalSearch::fetchPair(qint64 first, qint64 second)
{
    const std::optional<JournalEntry> older = journal()->entry(first);
    emit fetchedPair(older, journal()->entry(second));
}

void JournalSearch::exportAll(const Journal::Filter &filter, const QString &path)
{
    m_stopExport = false;
    OutputFile out(path);
    if (out.error()) {
        emit exportEnded(0, out.error(), false);
        return;
    }
    const qint64 total = journal()->count(filter, [this] { return bool(m_stopExport); });
    out.write(journalCsvHeader());
    Journal::Filter page = filter;
    page.limit = ExportPageSize;
    page.withContent = false;
    qint64 written = 0;
    for (;;) {
        if (m_stopExport) {
            emit exportEnded(written, {}, true);  // the unfinished file is not kept
            return;
        }
        const QList<JournalEntry> entries = journal()->find(page);
        for (const JournalEntry &entry : entries)
            out.write(journalCsvLine(entry));
        written += entries.size();
        emit exportProgress(written, total);
        if (entries.size() < page.limit)
            break;
        page.olderThan = Journal::Position{entries.last().startedMs, entries.last().id};
    }
    const bool whole = out.commit();
    emit exportEnded(written, whole ? FileError{} : out.error(), false);
}
