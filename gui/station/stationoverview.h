#pragma once

#include "core/journal/journalentry.h"
#include "core/journal/journallocation.h"
#include "core/provisioning/provingrate.h"
#include "gui/journal/readerthread.h"
#include "core/provisioning/unitstatus.h"

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class StationReader;
class StationUnits;

// The manifest at a glance: the counts line and the units' table, from
// looks at the journal on a reader thread of its own, every two seconds and
// whenever a unit finishes. The window never waits on the journal: a look
// that has not come back within two seconds says so on the counts line, and
// the next one is asked for once it has.
class StationOverview : public QObject
{
    Q_OBJECT

public:
    static constexpr int EveryMs = 2000;
    static constexpr int NotAnsweringMs = 2000;

    StationOverview(QLabel *counts, QObject *parent);
    ~StationOverview() override;

    StationUnits *units() const { return m_units; }
    // A batch's overview; the one before it, if any, goes.
    // `everyStation`: the figures of each station that worked on it, too.
    void start(const JournalLocation &location, const QList<ManifestUnit> &units, bool everyStation = false);
    // No more looks; a look still waiting on the database ends on its own.
    void stop();
    void lookNow();
    // Whether the last look has waited longer than NotAnsweringMs.
    bool isHanging() const;
    int count(UnitStatus::State state) const { return m_counts[size_t(state)]; }
    // Claimed by another run: another process, on this machine too.
    int claimedElsewhere() const { return m_elsewhere; }
    // One entry in full, read beside the window.
    void readEntry(qint64 id, std::function<void(const std::optional<JournalEntry> &)> then);

signals:
    // A look has read the journal.
    void looked();

private:
    void endReader();
    void take(bool read, const QList<int> &rows, const QList<UnitStatus> &statuses, const QList<int> &counts);
    void showCounts();

    QLabel *m_line;
    StationUnits *m_units;
    ReaderThread m_thread;
    StationReader *m_reader = nullptr;  // lives on m_thread
    QTimer m_every;
    QTimer m_watch;            // whether the look under way takes too long
    QElapsedTimer m_lookSent;  // valid while a look is under way
    bool m_lookAgain = false;
    bool m_unread = false;     // the last look could not read the journal
    std::array<int, UnitStatus::StateCount> m_counts{};
    ProvingRate m_rate;
    // Each station's units as the table stands: proven, failed, its latest.
    struct StationTally
    {
        int proven = 0;
        int failed = 0;
        qint64 latestMs = 0;
        ProvingRate rate;
    };
    void tally(const UnitStatus &status, int sign);
    QString stationsText() const;
    bool m_everyStation = false;
    QMap<QString, StationTally> m_stations;
    int m_elsewhere = 0;
    QString m_countsText;
    std::function<void(const std::optional<JournalEntry> &)> m_entryWanted;
};
