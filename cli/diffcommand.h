#pragma once

#include "command.h"

class DiffCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("diff"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
