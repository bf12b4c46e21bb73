#pragma once

#include "command.h"

#include <memory>
#include <vector>

class OutputFile;

class DownloadCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("download"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;

private:
    // A backup file for each port, made ready before any module is touched;
    // false after the refusal has been reported.
    bool prepareBackups(const QString &folder, const QStringList &ports, std::vector<std::unique_ptr<OutputFile>> *backups) const;
};
