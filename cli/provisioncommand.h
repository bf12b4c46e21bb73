#pragma once

#include "command.h"
#include "core/content/manifest.h"

#include <optional>

class SharedJournal;

// A batch: each port takes the next unit of a manifest that the journal does
// not hold as done, writes it and proves it. In four steps: the run's
// options, the units each port may take, the run on every port, and the
// summary.
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
        QList<ManifestUnit> units;
        QList<QList<int>> candidates;  // per port, the units it may take in order
    };

    std::optional<Run> parse(QCommandLineParser &parser) const;
    bool readUnits(Run &run) const;
    static QList<QList<int>> chooseUnits(const QList<ManifestUnit> &units, const QStringList &ports, bool onlyOne);
    int dryRun(const Run &run) const;
    QList<Result> provisionAll(const Run &run, SharedJournal *journal, const QString &backupFolder, QList<bool> *provisionedHere) const;
    int summarise(const Run &run, const QList<Result> &results, const QList<bool> &provisionedHere, SharedJournal *journal,
                  const JournalLocation &location) const;
};
