#include "downloadcommand.h"

#include "core/operations/readupfile.h"
#include "core/journal/sharedjournal.h"
#include "phrases.h"
#include "portjobs.h"
#include "portrun.h"
#include "core/plan/transferplan.h"
#include "core/link/moduleexchange.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <memory>

QString DownloadCommand::summary() const
{
    return QStringLiteral("Write a content file into the module on each --port, several at once.");
}

void DownloadCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The content file (.t16) to write."));
    parser.addOptions({
        {{QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("A port: COM1, ttyUSB0 or a device path. Repeat for more modules."),
         QStringLiteral("port")},
        {QStringLiteral("backup"), QStringLiteral("First read each module up and keep what it held in <dir>/<port>-<entry>.t16 (0600, never replaced)."),
         QStringLiteral("dir")},
        {QStringLiteral("write-unread"), QStringLiteral("Write a module even when it could not be read up for its backup.")},
        {QStringLiteral("verify"), QStringLiteral("Read each module back after writing it and verify it.")},
    });
    addOldForceOption(parser);  // --write-unread
    addDryRunOption(parser);
    addLinkOptions(parser);
    addJournalOptions(parser);
    addOutputOptions(parser);
}

namespace {

struct DownloadJob
{
    const FormValues &form;
    const TransferPlan &plan;
    bool writeUnread = false;  // write a module whose backup could not be read
    bool verifyAfter = false;
    QString backupFolder;
};

// One port's download: the backup first (when asked), the download, and the
// verify (when asked), as one result.
Result downloadOnPort(const DownloadJob &job, const LinkSettings &settings, PortContext context, OutputFile *backupFile)
{
    Result backup;
    if (backupFile) {
        StepOutcome kept;
        backup = readUpToFilePort(*backupFile, settings, context, Stage::Backup, [&](qint64 entry) {
            return backupPath(job.backupFolder, settings.Port, entry);
        }, &kept);
        if (!backupLetsWrite(kept, job.writeUnread)) {
            backup.message = QStringLiteral("backup failed, module not written: ") + backup.message;
            if (backup.code == NotRecorded)
                backup.code = Refused;
            return backup;
        }
    }
    context.backup = backup.output;
    Result result = downloadPort(settings, job.form, job.plan, context);
    if (job.verifyAfter && result.code == Success) {
        Result verified = verifyPort(settings, job.form, context);
        verified.operation = QStringLiteral("download and verify");
        verified.seconds += result.seconds;
        verified.bytesSent += result.bytesSent;
        verified.bytesReceived += result.bytesReceived;
        result = verified;
    }
    result.backup = backup.output;
    result.seconds += backup.seconds;
    result.bytesSent += backup.bytesSent;
    result.bytesReceived += backup.bytesReceived;
    if (backup.code != Success)
        result.message = (result.message.isEmpty() ? QString() : result.message + QStringLiteral("; "))
                       + QStringLiteral("backup failed (") + backup.message + QStringLiteral("), written anyway");
    return result;
}

} // namespace

bool DownloadCommand::prepareBackups(const QString &folder, const QStringList &ports,
                                     std::vector<std::unique_ptr<OutputFile>> *backups) const
{
    if (folder.isEmpty())
        return true;
    for (const QString &port : ports) {
        backups->push_back(makeBackupFile(QDir(folder).absolutePath(), port));
        if (const FileError error = backups->back()->error()) {
            fail(Refused, QStringLiteral("cannot write the backup %1: %2").arg(backups->back()->path(), Phrase::fileError(error)));
            return false;
        }
    }
    return true;
}

int DownloadCommand::execute(QCommandLineParser &parser)
{
    const QStringList files = parser.positionalArguments();
    const QStringList ports = parser.values(QStringLiteral("port"));
    if (files.size() != 1 || ports.isEmpty())
        return fail(Refused, QStringLiteral("usage: tavir340-cli download FILE --port P [--port P2 ...]"));
    if (!checkPorts(ports))
        return Refused;
    QString backupFolder;
    if (!this->backupFolder(parser, &backupFolder))
        return Refused;
    const std::optional<LinkSettings> settings = linkSettings(parser);
    const std::optional<FormValues> form = loadForm(files.first());
    if (!settings || !form)
        return Refused;
    // The same plan, and the same refusals, as the window's download.
    const PlannedTransfer planned = planTransfer(*form, *settings, RecordPurpose::Download);
    if (!planned.plan)
        return fail(Refused, QStringLiteral("%1: refused: %2").arg(files.first(),
                                                                 Phrase::refusal(planned.refusals.first(), settings->DownloadSeparator)));
    const TransferPlan &plan = *planned.plan;
    if (parser.isSet(QStringLiteral("dry-run")))
        return printDryRun(ports, downloadPieces(plan)) ? Success : NotRecorded;
    std::unique_ptr<SharedJournal> journal;
    std::vector<std::unique_ptr<OutputFile>> backups;
    if (!openJournal(parser, &journal) || !prepareBackups(backupFolder, ports, &backups))
        return Refused;

    DownloadJob job{*form, plan, parser.isSet(QStringLiteral("write-unread")) || parser.isSet(QStringLiteral("force")), parser.isSet(QStringLiteral("verify")),
                    backupFolder.isEmpty() ? QString() : QDir(backupFolder).absolutePath()};
    const QString file = QFileInfo(files.first()).absoluteFilePath();
    const QList<Result> results = runOnPorts(ports, !quiet(), [&](int row, const QString &port, const LineInterrupt &interrupt,
                                                                  ProgressBars &bars) {
        LinkSettings own = *settings;
        own.Port = port;
        PortContext context(row, interrupt, bars, journal.get());
        context.file = file;
        return downloadOnPort(job, own, context, backups.empty() ? nullptr : backups[size_t(row)].get());
    });
    for (const Result &result : results)
        report(result);
    return worstCode(results);
}
