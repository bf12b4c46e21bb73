#pragma once

#include "core/journal/journalreadconnection.h"
#include "core/provisioning/unitstatus.h"

#include <QObject>

#include <memory>
#include <optional>

// What the station shows from the journal, read on a thread of its own with
// a connection of its own: a database that hangs stops this thread, never
// the window. Each look reads only what changed since the one before (see
// ManifestOverview); the overview comes back by itself once a database that
// went away does (see JournalReadConnection).
class StationReader : public QObject
{
    Q_OBJECT

public:
    StationReader(const JournalLocation &location, const QList<ManifestUnit> &units);
    ~StationReader() override;

    // On the reader's thread.
    void look();
    void readEntry(qint64 id);

signals:
    // The rows whose status changed, with their statuses, and how many units
    // are in each state; `read` false when the journal could not be read.
    void looked(bool read, const QList<int> &rows, const QList<UnitStatus> &statuses, const QList<int> &counts);
    void entryRead(qint64 id, const std::optional<JournalEntry> &entry);

private:
    QList<ManifestUnit> m_units;
    std::unique_ptr<ManifestOverview> m_overview;  // made on the reader's thread, at the first look
    JournalReadConnection m_connection;  // opened, used and closed on the reader's thread
};
