#include "core/journal/journal.h"
#include "core/journal/journalreason.h"
#include "core/journal/sharedjournal.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

// A clock that moves only when the test says: a lease of a minute runs out
// in no time, and a frozen run is one whose clock the test leaves alone.
class TestClock : public JournalClock
{
public:
    qint64 nowMs() const override { return m_now; }
    void advance(qint64 ms) { m_now += ms; }

private:
    std::atomic<qint64> m_now = 1'000'000;
};

// A run on another station, which the journal can judge only by its lease.
ProcessIdentity station(const QString &name)
{
    ProcessIdentity self = ProcessIdentity::self();
    return {name, 4242, QStringLiteral("1"), self.bootId};
}

JournalEntry provisionEntry(const QString &unit, const ProcessIdentity &by)
{
    JournalEntry entry = startEntry(JournalName::Provision, QStringLiteral("ttyUSB0"));
    entry.unit = unit;
    entry.station = by.station;
    entry.pid = by.pid;
    return entry;
}

// The unit's step, started under its claim.
JournalEntry stepEntry(const JournalEntry &claim)
{
    JournalEntry step = startEntry(JournalName::Download, QStringLiteral("ttyUSB0"));
    step.startedMs = claim.startedMs + 1;  // its own start
    step.unit = claim.unit;
    step.claimToken = claim.id;
    step.station = claim.station;
    step.pid = claim.pid;
    return step;
}

// Another program that writes the journal file, so that nobody else can
// until it lets go: the journal's outage, on SQLite.
class Writer
{
public:
    explicit Writer(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        db.setDatabaseName(path);
        m_held = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~Writer() { letGo(); }
    bool holds() const { return m_held; }
    void letGo()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("writer"), false);
            if (db.isOpen())
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        m_held = false;
    }

private:
    bool m_held = false;
};

} // namespace

// The claim rules on a journal of the test's own, with clocks the test
// moves: leases, renewals, fences, a frozen run, an outage shorter and
// longer than the fence, and a commit whose answer was lost.
class TestClaims : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_journals = 0;

    // A fresh journal whose writes wait 50 ms for another program's.
    JournalLocation journal()
    {
        JournalLocation location = parseJournalDestination(m_dir.filePath(QStringLiteral("j%1.sqlite").arg(++m_journals)));
        location.busyTimeoutMs = 50;
        return location;
    }

    static JournalEntry entryOf(const JournalLocation &location, qint64 id)
    {
        return Journal(location, Journal::Mode::Read).entry(id).value_or(JournalEntry{});
    }

private slots:
    // A claim holds until its fence; another run is refused while its lease
    // lasts, and takes the unit once it has run out on the journal's clock.
    // The frozen run, woken, holds nothing, writes nothing of the unit, and
    // what it left unfinished was ended by the run that took the unit.
    void aFrozenRunLosesItsClaim()
    {
        const JournalLocation location = journal();
        TestClock frozen, other;
        SharedJournal a(location, frozen, station("bench-a"));
        SharedJournal b(location, other, station("bench-b"));
        JournalEntry mine = provisionEntry("u1", station("bench-a"));
        QCOMPARE(a.claim(mine, false, false)->claim, Journal::Claim::Taken);
        const JournalEntry step = [&] { JournalEntry s = stepEntry(mine); s.id = a.begin(s); return s; }();
        QVERIFY(step.id > mine.id);
        QVERIFY(a.holds("u1"));
        JournalEntry theirs = provisionEntry("u1", station("bench-b"));
        other.advance(Journal::leaseMs() - 1000);
        QCOMPARE(b.claim(theirs, false, false)->claim, Journal::Claim::Held);
        other.advance(1001);
        theirs = provisionEntry("u1", station("bench-b"));
        QCOMPARE(b.claim(theirs, false, false)->claim, Journal::Claim::Taken);

        frozen.advance(Journal::leaseMs() - Journal::FenceMarginMs);  // it wakes: the fence has run out
        QVERIFY(!a.holds("u1"));
        JournalEntry end = step;
        end.result = JournalName::Ok;
        end.endedMs = end.startedMs + 10;
        QVERIFY(!a.complete(end));
        QCOMPARE(a.problem().error, JournalProblem::Error::ClaimLost);
        QVERIFY(!a.renew("u1"));
        QCOMPARE(a.lateCount(), 0);  // refused for good: not kept for later
        QCOMPARE(entryOf(location, mine.id).result, JournalName::Failed);
        QCOMPARE(entryOf(location, mine.id).reason, JournalReason::NotProven);
        QCOMPARE(entryOf(location, step.id).result, JournalName::Interrupted);
        QCOMPARE(entryOf(location, step.id).reason, JournalReason::ClaimLost);
    }

    // Renewals, six a lease, carry the fence on; without them it would
    // have run out.
    void renewalsCarryTheFenceOn()
    {
        const JournalLocation location = journal();
        TestClock clock;
        SharedJournal a(location, clock, station("bench-a"));
        JournalEntry mine = provisionEntry("u1", station("bench-a"));
        QCOMPARE(a.claim(mine, false, false)->claim, Journal::Claim::Taken);
        Journal reader(location, Journal::Mode::Read, clock);
        const qint64 leaseLeft = reader.claims().value(0).leaseLeftMs;
        clock.advance(Journal::renewEveryMs());
        a.wake();
        QTRY_VERIFY(Journal(location, Journal::Mode::Read, clock).claims().value(0).leaseLeftMs > leaseLeft - Journal::renewEveryMs());
        clock.advance(Journal::leaseMs() - Journal::FenceMarginMs - Journal::renewEveryMs() + 1);
        QVERIFY(a.holds("u1"));
    }

    // The journal does not take writes for a while: a step's start is tried
    // again every second of the run's clock, and goes in once it can, once.
    void anOutageShorterThanTheFenceCostsNothing()
    {
        const JournalLocation location = journal();
        TestClock clock;
        SharedJournal a(location, clock, station("bench-a"));
        JournalEntry mine = provisionEntry("u1", station("bench-a"));
        QCOMPARE(a.claim(mine, false, false)->claim, Journal::Claim::Taken);
        Writer other(location.path);
        QVERIFY(other.holds());
        std::atomic<qint64> begun = -1;
        std::thread port([&] { begun = a.begin(stepEntry(mine)); });
        QTRY_VERIFY(a.waitingMs(port.get_id()) >= 0 && begun == -1);
        for (int second = 0; second < 3; ++second) {  // three tries, each refused
            clock.advance(Journal::RenewRetryMs);
            a.wake();
        }
        QCOMPARE(begun.load(), -1);
        other.letGo();
        clock.advance(Journal::RenewRetryMs);
        a.wake();
        port.join();
        QVERIFY(begun > mine.id);
        Journal::Filter steps;
        steps.operation = JournalName::Download;
        QCOMPARE(Journal(location, Journal::Mode::Read).find(steps).size(), 1);
    }

    // An outage that outlasts the fence: the step's end is given up for the
    // run, kept, and written with the claim's release once the journal
    // takes writes again.
    void anOutageLongerThanTheFenceEndsTheUnitLater()
    {
        const JournalLocation location = journal();
        TestClock clock;
        SharedJournal a(location, clock, station("bench-a"));
        JournalEntry mine = provisionEntry("u1", station("bench-a"));
        QCOMPARE(a.claim(mine, false, false)->claim, Journal::Claim::Taken);
        JournalEntry step = stepEntry(mine);
        step.id = a.begin(step);
        QVERIFY(step.id > 0);
        Writer other(location.path);
        std::atomic<int> completed = -1;
        step.result = JournalName::Ok;
        step.endedMs = step.startedMs + 10;
        std::thread port([&] { completed = a.complete(step) ? 1 : 0; });
        QTRY_VERIFY(a.waitingMs(port.get_id()) >= 0);
        clock.advance(Journal::leaseMs());  // past the fence, renewals refused all along
        a.wake();
        port.join();
        QCOMPARE(completed.load(), 0);
        QVERIFY(!a.holds("u1"));
        a.release("u1");
        QCOMPARE(a.lateCount(), 2);  // the end, then the release
        other.letGo();
        clock.advance(Journal::RenewRetryMs);
        a.wake();
        QTRY_COMPARE(a.lateCount(), 0);
        QCOMPARE(entryOf(location, step.id).result, JournalName::Ok);
        QVERIFY(Journal(location, Journal::Mode::Read).claims().isEmpty());
    }

    // A commit whose answer was lost, written again: the start is found, not
    // begun twice; the end is there already; the claim is this run's own.
    void aLostAnswerIsReadBack()
    {
        const JournalLocation location = journal();
        TestClock clock;
        Journal journal(location, Journal::Mode::Write, clock);
        const ProcessIdentity self = station("bench-a");
        JournalEntry mine = provisionEntry("u1", station("bench-a"));
        QCOMPARE(journal.claim(mine, self, false, false)->claim, Journal::Claim::Taken);
        JournalEntry again = provisionEntry("u1", station("bench-a"));
        again.startedMs = mine.startedMs;
        QCOMPARE(journal.claim(again, self, false, false)->claim, Journal::Claim::Taken);
        QCOMPARE(again.id, mine.id);
        JournalEntry other = provisionEntry("u1", station("bench-a"));
        other.startedMs = mine.startedMs + 1;  // another port's try, in the same run
        QCOMPARE(journal.claim(other, self, false, false)->claim, Journal::Claim::Held);
        JournalEntry step = stepEntry(mine);
        step.id = journal.begin(step);
        QCOMPARE(journal.findBegun(step), step.id);
        step.result = JournalName::Ok;
        step.endedMs = step.startedMs + 5;
        QVERIFY(journal.complete(step) && journal.complete(step));
        step.result = JournalName::Failed;
        QVERIFY(!journal.complete(step));  // another end is not written over the first
    }

    // Every connection that writes waits for the disk at each commit,
    // whatever the distribution's default.
    void commitsWaitForTheDisk()
    {
        Journal written(journal());
        QVERIFY(written.isOpen());
        int full = 0;
        for (const QString &name : QSqlDatabase::connectionNames()) {
            if (!name.startsWith("tavir340-journal"))
                continue;
            QSqlQuery pragma(QSqlDatabase::database(name, false));
            QVERIFY(pragma.exec("PRAGMA synchronous") && pragma.next());
            full += pragma.value(0).toInt() == 2;
        }
        QVERIFY(full >= 1);
    }
};

QTEST_GUILESS_MAIN(TestClaims)
#include "tst_claims.moc"
