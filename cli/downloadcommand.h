#pragma once

#include "command.h"

class DownloadCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("download"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
