#pragma once

#include "core/link/lineinterrupt.h"
#include "core/provisioning/unitclaim.h"
#include "core/provisioning/unitprovisioning.h"
#include "core/settings/linksettings.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

class SharedJournal;
class TransferRunner;

// How a port's turn ended: no unit left for it, the journal refused the
// claim, or a unit provisioned with its outcome.
struct PortTurn
{
    ClaimedUnit::Kind kind = ClaimedUnit::Kind::NoneLeft;
    QString unit;
    qint64 entry = 0;    // the unit's provision entry
    UnitOutcome outcome;
    JournalEntry claim;  // completed: what a label is made from
    QList<Journal::ClaimResult> heldElsewhere;
};

// One port of the station: on a transfer runner of its own, takes the next unit the
// journal lets it claim and provisions it, as the command line's provision
// does, saying how far it has come. stop() ends the transfer before its next
// byte; the port and its lock are released before the turn ends.
class PortRunner : public QObject
{
    Q_OBJECT

public:
    PortRunner(const QString &port, Batch &batch, const LinkSettings &settings, SharedJournal *journal, QObject *parent);
    ~PortRunner() override;

    const QString &port() const { return m_port; }
    bool isRunning() const;
    // How long the turn has been waiting for the journal; 0 while it waits
    // for none.
    qint64 journalWaitMs() const;
    // Starts a turn over `candidates` (indexes into the batch's units).
    void start(const QList<int> &candidates);
    void stop();

signals:
    void claimed(const QString &unit);
    void progressed(Stage stage, int value, int maximum);
    void finished(const PortTurn &turn);

private:
    void run(const QList<int> &candidates);

    QString m_port;
    Batch &m_batch;
    LinkSettings m_settings;
    SharedJournal *m_journal;
    LineInterrupt m_interrupt;
    std::unique_ptr<TransferRunner> m_runner;
    PortTurn m_turn;  // written by the turn's thread, read once it has ended
    std::atomic<std::thread::id> m_turnThread;
};
