#pragma once

#include "core/journal/journal.h"
#include "core/journal/journallocation.h"
#include "core/provisioning/unitstatus.h"

#include <QObject>

#include <memory>
#include <optional>

// What the station shows from the journal, read on a thread of its own with
// a connection of its own: a database that hangs stops this thread, never
// the window. A connection that failed is dropped, and the next read opens
// a new one, so the overview comes back by itself once the database does.
class StationReader : public QObject
{
    Q_OBJECT

public:
    explicit StationReader(const JournalLocation &location);
    ~StationReader() override;

    // On the reader's thread.
    void readOverview(const QList<ManifestUnit> &units);
    void readEntry(qint64 id);

signals:
    // Each unit's state, and the units proven, as one look at the journal
    // saw them; `read` false when the journal could not be read.
    void overviewRead(bool read, const QList<UnitStatus> &statuses, const QHash<QString, Journal::Proven> &proven);
    void entryRead(qint64 id, const std::optional<JournalEntry> &entry);

private:
    Journal *journal();
    void dropIfFailed();

    JournalLocation m_location;
    std::unique_ptr<Journal> m_journal;  // made, used and closed on the reader's thread
};
