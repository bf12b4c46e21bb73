#pragma once

#include "command.h"

class SetCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("set"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
