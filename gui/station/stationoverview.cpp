#include "stationoverview.h"

#include "stationreader.h"
#include "stationunits.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QThread>

StationOverview::StationOverview(QLabel *counts, QObject *parent)
    : QObject(parent)
    , m_line(counts)
    , m_units(new StationUnits(this))
{
    m_every.setInterval(EveryMs);
    connect(&m_every, &QTimer::timeout, this, &StationOverview::lookNow);
    m_watch.setInterval(500);
    connect(&m_watch, &QTimer::timeout, this, &StationOverview::showCounts);
}

// The counts line may be gone already: only the reader is let go.
StationOverview::~StationOverview()
{
    endReader();
}

void StationOverview::stop()
{
    endReader();
    m_countsText.clear();
    m_units->reset({});
    m_line->clear();
}

// The reader and its thread go once a look that still waits on the
// database has come back; the window does not wait for it.
void StationOverview::endReader()
{
    m_every.stop();
    m_watch.stop();
    m_thread.release();
    m_reader = nullptr;
    m_lookSent.invalidate();
    m_lookAgain = m_unread = false;
}

void StationOverview::start(const JournalLocation &location, const QList<ManifestUnit> &units, bool everyStation)
{
    stop();
    m_everyStation = everyStation;
    m_stations.clear();
    m_units->reset(units);
    m_counts.fill(0);
    m_counts[size_t(UnitStatus::State::Left)] = int(units.size());
    m_rate.clear();
    m_elsewhere = 0;
    m_reader = m_thread.start(new StationReader(location, units), QStringLiteral("overview"));
    connect(m_reader, &StationReader::looked, this, &StationOverview::take);
    connect(m_reader, &StationReader::entryRead, this, [this](qint64, const std::optional<JournalEntry> &entry) {
        if (m_entryWanted)
            std::exchange(m_entryWanted, {})(entry);
    });
    m_every.start();
    m_watch.start();
    lookNow();
}

// One look at a time; one asked for meanwhile follows it.
void StationOverview::lookNow()
{
    if (!m_reader)
        return;
    if (m_lookSent.isValid()) {
        m_lookAgain = true;
        return;
    }
    m_lookSent.start();
    m_lookAgain = false;
    QMetaObject::invokeMethod(m_reader, [reader = m_reader] { reader->look(); }, Qt::QueuedConnection);
}

bool StationOverview::isHanging() const
{
    return m_lookSent.isValid() && m_lookSent.hasExpired(NotAnsweringMs);
}

void StationOverview::take(bool read, const QList<int> &rows, const QList<UnitStatus> &statuses, const QList<int> &counts)
{
    m_lookSent.invalidate();
    m_unread = !read;
    if (read) {
        const ProcessIdentity here = ProcessIdentity::self();
        const auto elsewhere = [&here](const UnitStatus &s) { return s.state == UnitStatus::State::Claimed && !(s.holder == here); };
        const QList<UnitStatus> &before = m_units->statuses();
        for (int i = 0; i < rows.size(); ++i) {
            const bool known = rows[i] >= 0 && rows[i] < before.size();
            if (known) {
                m_elsewhere -= elsewhere(before[rows[i]]);
                tally(before[rows[i]], -1);
            }
            tally(statuses[i], +1);
            m_elsewhere += elsewhere(statuses[i]);
            if (statuses[i].state == UnitStatus::State::Done && !(known && before[rows[i]].state == UnitStatus::State::Done))
                m_rate.addProof(statuses[i].whenMs);
            const auto proven = [](const UnitStatus &s) { return s.state == UnitStatus::State::Done || s.state == UnitStatus::State::Changed; };
            if (proven(statuses[i]) && !statuses[i].station.isEmpty() && !(known && proven(before[rows[i]])))
                m_stations[statuses[i].station].rate.addProof(statuses[i].whenMs);
        }
        m_units->update(rows, statuses);
        for (int state = 0; state < UnitStatus::StateCount && state < counts.size(); ++state)
            m_counts[size_t(state)] = counts[state];
    }
    showCounts();
    if (m_lookAgain)
        lookNow();
    if (read)
        emit looked();
}

void StationOverview::showCounts()
{
    using State = UnitStatus::State;
    const int done = count(State::Done);
    const int all = int(m_units->statuses().size());
    if (m_reader)
        m_countsText = tr("Kész: %1   Hátra: %2   Hibás: %3   Más állomás foglalja: %4   Módosult: %5   Nem igazolt: %6"
                          "   Nem cserélt: %7   Megszakítva: %8   Foglalás elveszett: %9")
                           .arg(done).arg(all - done).arg(count(State::Failed)).arg(m_elsewhere)
                           .arg(count(State::Changed)).arg(count(State::NotProven)).arg(count(State::NotSwapped))
                           .arg(count(State::Interrupted)).arg(count(State::ClaimLost));
    QString shown = m_countsText;
    if (m_everyStation && m_reader && !m_stations.isEmpty())
        shown += QLatin1Char('\n') + stationsText();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (const double rate = m_rate.perHour(now); m_reader && rate > 0) {
        shown += QLatin1Char('\n') + tr("Ütem: %1 egység/óra (az utolsó 30 percben)").arg(qRound(rate));
        if (const std::optional<qint64> finish = m_rate.finishMs(all - done, now); finish && all > done)
            shown += QLatin1Char(' ') + tr("— a manifest várhatóan kész: %1")
                                          .arg(QLocale().toString(QDateTime::fromMSecsSinceEpoch(*finish), QLocale::ShortFormat));
    }
    if (isHanging())
        shown += QLatin1Char('\n') + tr("A napló nem válaszol (%1 mp); az állomás vár rá.").arg(m_lookSent.elapsed() / 1000);
    else if (m_unread)
        shown += QLatin1Char('\n') + tr("A napló most nem olvasható; az állomás újra próbálja.");
    if (shown.trimmed() != m_line->text())
        m_line->setText(shown.trimmed());
}

// Counted in, or out again (`sign` -1) when a look changes the unit.
void StationOverview::tally(const UnitStatus &status, int sign)
{
    using State = UnitStatus::State;
    if (status.station.isEmpty())
        return;
    StationTally &t = m_stations[status.station];
    t.proven += sign * (status.state == State::Done || status.state == State::Changed);
    t.failed += sign * (status.state == State::Failed || status.state == State::NotSwapped || status.state == State::NotProven
                        || status.state == State::Interrupted || status.state == State::ClaimLost);
    if (sign > 0)
        t.latestMs = std::max(t.latestMs, status.whenMs);
}

// "bench-1: 12 kész, 1 hiba, 24/óra, utolsó: 10:15 · bench-2: …"
QString StationOverview::stationsText() const
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QStringList parts;
    for (auto it = m_stations.cbegin(); it != m_stations.cend(); ++it) {
        parts << tr("%1: %2 kész, %3 hiba, %4/óra, utolsó: %5")
                     .arg(it.key())
                     .arg(it->proven)
                     .arg(it->failed)
                     .arg(qRound(it->rate.perHour(now)))
                     .arg(QLocale().toString(QDateTime::fromMSecsSinceEpoch(it->latestMs).time(), QLocale::ShortFormat));
    }
    return tr("Állomások: %1").arg(parts.join(QStringLiteral(" · ")));
}

void StationOverview::readEntry(qint64 id, std::function<void(const std::optional<JournalEntry> &)> then)
{
    if (!m_reader) {
        then(std::nullopt);
        return;
    }
    m_entryWanted = std::move(then);
    QMetaObject::invokeMethod(m_reader, [reader = m_reader, id] { reader->readEntry(id); }, Qt::QueuedConnection);
}
