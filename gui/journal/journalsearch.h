#pragma once

#include "core/journal/journalreadconnection.h"
#include "core/storage/outputfile.h"

#include <QObject>

#include <atomic>
#include <memory>

// The journal window's queries, on a thread of their own with a connection
// of their own, so that a search through a million entries never stops the
// window. A newer search makes an older one stop at its next slice; an
// export writes every matching entry, a page at a time.
class JournalSearch : public QObject
{
    Q_OBJECT

public:
    static constexpr int PageSize = 500;
    static constexpr int ExportPageSize = 2000;

    explicit JournalSearch(const JournalLocation &location);
    ~JournalSearch() override;

    // From the window's thread: the search that counts from now on, and
    // the way to stop whatever runs.
    int begin() { return ++m_latest; }
    void cancel() { ++m_latest; m_stopExport = true; }
    void stopExport() { m_stopExport = true; }

    // On the search's thread. A page of entries matching `filter` (after
    // filter.olderThan), then, for a first page, how many match in all.
    void find(int generation, const Journal::Filter &filter);
    void exportAll(const Journal::Filter &filter, const QString &path);
    // One entry in full, content included.
    void fetch(qint64 id);
    // Two entries in full, to be compared.
    void fetchPair(qint64 first, qint64 second);

signals:
    void found(int generation, const QList<JournalEntry> &entries, bool more);
    void counted(int generation, qint64 count);
    void fetched(const std::optional<JournalEntry> &entry);
    void fetchedPair(const std::optional<JournalEntry> &first, const std::optional<JournalEntry> &second);
    void exportProgress(qint64 written, qint64 total);
    void exportEnded(qint64 written, FileError error, bool stopped);

private:
    Journal *journal() { return &m_connection.journal(); }

    JournalReadConnection m_connection;  // opened, used and closed on the search's thread
    std::atomic<int> m_latest = 0;
    std::atomic<bool> m_stopExport = false;
};
