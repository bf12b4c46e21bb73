#pragma once

#include "command.h"

class ReadupCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("readup"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
