#pragma once

#include "command.h"

class CheckCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
