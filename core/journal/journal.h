#pragma once

#include "journalentry.h"
#include "journallocation.h"
#include "journalsink.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The provisioning journal, through Qt SQL: a SQLite file (WAL, a busy
// time-out, so that many ports and processes write at once) or a PostgreSQL
// database. A Journal belongs to the thread that opened it; every thread of a
// run opens its own. Entries are only ever added and completed once.
class Journal : public JournalSink
{
public:
    static constexpr int SchemaVersion = 1;

    enum class Mode { Write, Read };
    using Error = JournalProblem::Error;
    using Problem = JournalProblem;

    // Opens the journal; for writing, it is made (with its folder, readable
    // by its owner only) or brought up to this program's schema first.
    explicit Journal(const JournalLocation &location, Mode mode = Mode::Write);
    ~Journal() override;
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    bool isOpen() const { return m_problem.error == Error::None; }
    Problem problem() const override { return m_problem; }

    qint64 begin(const JournalEntry &entry) override;
    bool complete(const JournalEntry &entry) override;
    // Claiming a unit of a batch for this run: in one transaction, the check
    // that no run that still lives holds it and, unless `again`, that the
    // journal does not already hold it as provisioned with entry.content; then
    // the start entry itself, whose id goes to entry.id. Nothing when the
    // journal fails.
    enum class Claim { Taken, Held, Done };
    std::optional<Claim> claim(JournalEntry &entry, bool again);
    // Lets go of a unit this run took (a shared database's hold on it).
    void release(const QString &unit);
    // The content each unit holds as provisioned, by unit.
    QHash<QString, QList<QByteArray>> provisioned();

    // Several entries in one transaction: one wait for the disk for all.
    bool startBatch();
    bool inBatch() const { return m_inBatch; }
    bool endBatch(bool commit);

    struct Filter
    {
        QString moduleId;
        QString name;       // within the module's name, any case
        QString port;
        QString operation;
        QString result;     // a result name, or "unfinished"
        QString unit;
        QString idOrName;   // the module's identifier, or within its name
        std::optional<qint64> sinceMs;
        std::optional<qint64> untilMs;
        int limit = 100;    // 0: every entry
        bool withContent = false;
    };
    // Newest first.
    QList<JournalEntry> find(const Filter &filter);
    // One entry in full.
    std::optional<JournalEntry> entry(qint64 id);

private:
    bool openSqlite(const JournalLocation &location, Mode mode);
    bool openPostgres(const JournalLocation &location);
    bool prepareSchema(Mode mode);
    void fail(Error error, const QString &detail);

    QString m_connection;
    bool m_postgres = false;
    bool m_inBatch = false;
    Problem m_problem;
};
