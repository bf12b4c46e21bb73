#include "portrunner.h"

#include "core/journal/sharedjournal.h"
#include "core/operations/transferrunner.h"

#include <QElapsedTimer>

namespace {

// Each step's progress, handed to the window's thread ten times a second
// (and at a stage's end): enough for a tile read at arm's length, and little
// work for a window with sixteen of them.
class RunnerProgress : public StepProgress
{
public:
    explicit RunnerProgress(PortRunner *runner) : m_runner(runner) {}
    void advance(Stage stage, int value, int maximum) override
    {
        if (stage == m_stage && value < maximum && m_shown.isValid() && !m_shown.hasExpired(PaceMs))
            return;
        m_stage = stage;
        m_shown.start();
        QMetaObject::invokeMethod(m_runner, [runner = m_runner, stage, value, maximum] { emit runner->progressed(stage, value, maximum); },
                                  Qt::QueuedConnection);
    }

private:
    static constexpr int PaceMs = 100;
    PortRunner *m_runner;
    Stage m_stage = Stage::Backup;
    QElapsedTimer m_shown;
};

} // namespace

PortRunner::PortRunner(const QString &port, Batch &batch, const LinkSettings &settings, SharedJournal *journal, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_batch(batch)
    , m_settings(settings)
    , m_journal(journal)
    , m_runner(std::make_unique<TransferRunner>())
{
    m_settings.Port = port;
}

// A turn still running stops before its next byte; the runner's thread
// ends once it has.
PortRunner::~PortRunner()
{
    m_interrupt.trigger();
    m_runner.reset();  // before the turn it writes goes
}

bool PortRunner::isRunning() const
{
    return m_runner->isBusy();
}

void PortRunner::start(const QList<int> &candidates)
{
    if (m_runner->isBusy())
        return;
    m_interrupt.reset();
    m_turn = {};
    m_runner->start([this, candidates] { run(candidates); }, [this] { emit finished(m_turn); });
}

qint64 PortRunner::journalWaitMs() const
{
    return m_journal && isRunning() ? m_journal->waitingMs(m_turnThread) : 0;
}

void PortRunner::stop()
{
    m_interrupt.trigger();
}

void PortRunner::run(const QList<int> &candidates)
{
    m_turnThread = std::this_thread::get_id();
    ClaimedUnit picked = claimNextUnit(m_batch, candidates, m_port, m_journal);
    m_turn.kind = picked.kind;
    m_turn.heldElsewhere = picked.heldElsewhere;
    if (picked.kind != ClaimedUnit::Kind::Taken)
        return;
    m_turn.unit = std::as_const(m_batch.units)[picked.index].unit;
    QMetaObject::invokeMethod(this, [this, unit = m_turn.unit] { emit claimed(unit); }, Qt::QueuedConnection);
    const PreparedUnit prepared = prepareUnit(m_batch, picked.index, m_journal ? &picked.claim : nullptr);
    RunnerProgress progress(this);
    StepContext context;
    context.interrupt = &m_interrupt;
    context.progress = &progress;
    context.journal = m_journal;
    context.unit = m_turn.unit;
    context.file = m_batch.manifestPath;
    m_turn.outcome = provisionUnit(prepared.job, m_settings, context, m_journal);
    m_turn.entry = picked.claim.id;
    m_turn.claim = picked.claim;
}
