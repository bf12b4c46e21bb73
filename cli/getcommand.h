#pragma once

#include "command.h"

class GetCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("get"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
