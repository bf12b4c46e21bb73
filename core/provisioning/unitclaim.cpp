#include "unitclaim.h"

#include "core/process/processidentity.h"
#include "core/journal/sharedjournal.h"
#include "core/operations/readupfile.h"

#include <QDir>

ClaimedUnit claimNextUnit(Batch &batch, const QList<int> &candidates, const QString &port, SharedJournal *journal)
{
    ClaimedUnit picked;
    for (int u : candidates) {
        const ManifestUnit &unit = std::as_const(batch.units)[u];  // shared by every port's thread: never detached
        const std::optional<BuiltUnit> built = buildUnit(unit, batch.templateForm, batch.settings);
        Q_ASSERT(built);  // the manifest was checked with the same template and settings
        if (!built)
            continue;
        JournalEntry claim = startEntry(JournalName::Provision, port);
        claim.unit = unit.unit;
        setContent(claim, built->form);
        claim.file = batch.manifestPath;
        claim.recordSha256 = built->plan.recordSha256();
        if (journal) {
            const std::optional<Journal::ClaimResult> claimed = journal->claim(claim, batch.again, batch.onlyOne);
            if (!claimed) {
                picked.kind = ClaimedUnit::Kind::JournalRefused;
                picked.index = u;
                return picked;
            }
            if (claimed->claim == Journal::Claim::Held && claimed->holder.holder.pid != ProcessIdentity::self().pid)
                picked.heldElsewhere << *claimed;
            if (claimed->claim != Journal::Claim::Taken)
                continue;
        } else {
            const std::lock_guard lock(batch.takenMutex);
            if (batch.taken.contains(u))
                continue;
            batch.taken.insert(u);
        }
        picked.kind = ClaimedUnit::Kind::Taken;
        picked.index = u;
        picked.claim = claim;
        return picked;
    }
    return picked;
}

PreparedUnit prepareUnit(const Batch &batch, int index, JournalEntry *claim)
{
    const ManifestUnit &unit = batch.units[index];
    PreparedUnit prepared;
    prepared.built = std::make_unique<BuiltUnit>(*buildUnit(unit, batch.templateForm, batch.settings));  // claimed: it builds
    const QString folder = batch.backupFolder.isEmpty() || unit.withoutBackup ? QString() : QDir(batch.backupFolder).absolutePath();
    if (!folder.isEmpty())
        prepared.backup = makeBackupFile(folder, unit.unit);
    UnitJob &job = prepared.job;
    job.unit = unit.unit;
    job.form = prepared.built->form;
    job.plan = &prepared.built->plan;
    job.retries = batch.retries;
    job.backup = prepared.backup.get();
    job.backupName = [folder, name = unit.unit](qint64 entry) { return backupPath(folder, name, entry); };
    job.force = batch.force;
    job.claim = claim;
    return prepared;
}
