#pragma once

#include "command.h"


// report: what each station did with a manifest, from the journal.
class ReportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("report"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
