#pragma once

#include "command.h"

class JournalCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("journal"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
