#pragma once

#include "journalentry.h"
#include "journallocation.h"
#include "claimbook.h"
#include "journalsink.h"
#include "journalclock.h"
#include "core/process/processidentity.h"

#include <QHash>
#include <QList>
#include <QString>

class QSqlDatabase;
class QSqlQuery;

#include <functional>
#include <optional>

// The provisioning journal, through Qt SQL: a SQLite file (WAL, a busy
// time-out, so that many ports and processes write at once) or a PostgreSQL
// database. A Journal belongs to the thread that opened it; every thread of a
// run opens its own. Entries are only ever added and completed once.
class Journal : public JournalSink, public ClaimBook
{
public:
    static constexpr int SchemaVersion = 5;
    // A claim on a unit lasts this long unless renewed: 60 s, or what
    // TAVIR340_LEASE_SECONDS says (15 to 3600; every station of a journal
    // uses the same). A unit takes about 22 s of line time (backup 7.8 s,
    // download 6.3 s, verify 7.8 s), and each step may be tried three times;
    // the run renews its claims six times a lease, so a lease runs out only
    // a minute after its run stopped renewing it: killed, frozen, or cut off
    // from the database.
    static qint64 leaseMs();
    static int renewEveryMs() { return int(leaseMs() / 6); }
    // A run stops sending this long before the lease the database gave it
    // would run out, counted on its own boot clock from the moment it sent
    // the renewal (never later than the moment the database took it): the
    // longest wait between two looks at the line's interrupt (a 1.5 s read),
    // a byte's 8.3 ms, and the renewal's own round trip, with room to spare.
    static constexpr qint64 FenceMarginMs = 5000;
    // How soon a renewal that failed (a dropped connection) is tried again.
    static constexpr int RenewRetryMs = 1000;
    // PostgreSQL: how long a connection may take to be made, and a
    // statement to run, before it is given up (see docs/journal.md).
    static constexpr int ConnectTimeoutSeconds = 5;
    static constexpr int StatementTimeoutMs = 30000;

    enum class Mode { Write, Read };
    using Error = JournalProblem::Error;
    using Problem = JournalProblem;

    // Opens the journal; for writing, it is made (with its folder, readable
    // by its owner only) or brought up to this program's schema first.
    // A SQLite journal's leases are read on `clock` (see JournalClock);
    // PostgreSQL's on the server's.
    explicit Journal(const JournalLocation &location, Mode mode = Mode::Write, const JournalClock &clock = JournalClock::boot());
    const JournalLocation &location() const { return m_location; }
    ~Journal() override;
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    bool isOpen() const { return m_problem.error == Error::None; }
    // The mode a journal file had when it was found readable by others and
    // made the owner's alone; -1 when it was private already.
    int mendedFromMode() const { return m_mendedFromMode; }
    Problem problem() const override { return m_problem; }

    // An entry with a claim token is taken only while that claim holds the
    // unit (Error::ClaimLost otherwise).
    qint64 begin(const JournalEntry &entry) override;
    // An entry completed already with the same end is completed: a commit
    // whose answer was lost may be written again.
    bool complete(const JournalEntry &entry) override;
    // The entry begun with this one's start (its time, station, process,
    // operation, port and unit): its id, 0 when there is none, -1 when the
    // journal could not say. What a begin whose commit's answer was lost
    // reads back.
    qint64 findBegun(const JournalEntry &entry);
    // The claims on units (see ClaimBook).
    std::optional<ClaimResult> claim(JournalEntry &entry, const ProcessIdentity &self, bool again, bool changedToo) override;
    Renewal renew(const QString &unit, const ProcessIdentity &self) override;
    bool release(const QString &unit, const ProcessIdentity &self) override;
    std::optional<ClaimResult> releaseClaim(const QString &unit, bool force) override;
    QList<ClaimRow> claims() override;

    // The newest proven provisioning of each unit.
    struct Proven
    {
        QByteArray contentSha256;  // the content's hash, not its hex
        qint64 entry = 0;
        qint64 endedMs = 0;
        QString station;
    };
    // Only those proven after entry `after`, when given.
    QHash<QString, Proven> provisioned(qint64 after = 0);
    // The newest provisioning of each unit that ended otherwise, by unit.
    QHash<QString, JournalEntry> lastFailures();
    // A provisioning as an overview keeps it: enough to say how it ended.
    struct Provisioning
    {
        qint64 id = 0;
        QString unit;
        QString result;            // empty while it runs
        QString reason;
        qint64 startedMs = 0;
        qint64 endedMs = 0;
        QString station;
        QByteArray contentSha256;  // the content's hash, not its hex
    };
    // The provisionings after entry `after`, and those of `ids`, by id;
    // nothing, with the journal failed, when it could not be read.
    QList<Provisioning> provisionings(qint64 after, const QList<qint64> &ids);
    // The unit other than `unit` that was proven with the record whose hash
    // is `recordSha256`; empty when there is none.
    QString unitHolding(const QString &recordSha256, const QString &unit);

    // Several entries in one transaction: one wait for the disk for all.
    bool startBatch();
    bool inBatch() const { return m_inBatch; }
    bool endBatch(bool commit);

    // Where an entry stands in the newest-first order.
    struct Position
    {
        qint64 startedMs = 0;
        qint64 id = 0;
    };
    struct Filter
    {
        QString moduleId;
        QString name;       // within the module's name, any case; typed accents ignored
        QString port;
        QString operation;
        QString result;     // a result name, or "unfinished"
        QString unit;
        QString idOrName;   // the module's identifier, or within its name (as `name`)
        std::optional<qint64> sinceMs;
        std::optional<qint64> untilMs;
        std::optional<Position> olderThan;  // only entries after this one, newest first
        int limit = 100;    // 0: every entry
        bool withContent = false;
    };
    // Newest first.
    QList<JournalEntry> find(const Filter &filter);
    // How many entries match, counted a slice of entries at a time so that
    // `cancelled` is asked often; -1 when it said so, or the count failed.
    qint64 count(const Filter &filter, const std::function<bool()> &cancelled = {});
    // One entry in full.
    std::optional<JournalEntry> entry(qint64 id);

private:
    bool openSqlite(const JournalLocation &location, Mode mode);
    bool openPostgres(const JournalLocation &location);
    bool makeDurable(QSqlDatabase &db);
    bool prepareSchema(Mode mode);
    void fail(Error error, const QString &detail);
    bool exec(QSqlQuery &query);
    std::optional<ClaimRow> claimOf(const QString &unit, bool *ok);
    QString leaseClock() const;
    ClaimRow claimFrom(const QSqlQuery &query) const;
    bool claimHolds(const JournalEntry &e);
    bool holdsEnd(const JournalEntry &e);
    bool isOwnAttempt(const ClaimRow &held, const JournalEntry &entry);
    bool endAbandoned(const ClaimRow &dead);
    std::optional<Claim> provenState(const JournalEntry &entry, bool *ok);

    QString m_connection;
    JournalLocation m_location;
    const JournalClock &m_clock;
    bool m_postgres = false;
    int m_schema = SchemaVersion;  // what a journal opened to read was made with
    bool m_inBatch = false;
    int m_mendedFromMode = -1;
    Problem m_problem;
};
