#pragma once

#include "command.h"
#include "core/content/manifest.h"
#include "core/journal/journal.h"

#include <QSet>

#include <optional>

class SharedJournal;

// A batch: each port takes the next unit of a manifest that the journal does
// not hold as done, writes it and proves it. In four steps: the run's
// options, the units each port may take, the run on every port, and the
// summary.
struct LabelSize;

class ProvisionCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("provision"); }
    QString summary() const override;

protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;

private:
    struct Run
    {
        QString templatePath;
        QString manifestPath;
        QStringList ports;
        QString only;      // --unit
        bool again = false;
        int retries = 2;
        LinkSettings settings;
        QString backupFolder;
        QString labelFolder;           // --labels: a PDF label for each proven unit
        const LabelSize *labelSize = nullptr;
        bool force = false;            // write a module that holds another unit
        bool csv = false;              // --status as CSV
        FormValues templateForm;
        QList<ManifestUnit> units;
        QList<QList<int>> all;         // per port, the units it may take in order
        QList<QList<int>> candidates;  // of those, the ones the journal does not hold as proven
        struct
        {
            QHash<int, qint64> done;  // proven with this content: by which entry
            QHash<int, qint64> changed;  // proven with other content: by which entry
        } skipped;
        // The journal's proven units before the run: only those proven
        // since need reading at its end.
        QHash<QString, Journal::Proven> provenBefore;
    };

    std::optional<Run> parse(QCommandLineParser &parser) const;
    bool labelOptions(const QCommandLineParser &parser, bool journalOff, Run &run) const;
    static void writeLabel(const Run &run, const JournalEntry &proven, Result &result);
    bool readUnits(Run &run) const;
    int dryRun(const Run &run) const;
    bool skipDone(Run &run, const JournalLocation &location) const;
    QList<Result> provisionAll(const Run &run, SharedJournal *journal) const;
    QString nothingToDo(const Run &run, int row, const QList<Journal::ClaimResult> &held) const;
    int summarise(const Run &run, const QList<Result> &results, const JournalLocation &location) const;
    // --status and --release.
    int status(const Run &run, const JournalLocation &location) const;
    int releaseClaim(const QCommandLineParser &parser, const JournalLocation &location) const;
};
