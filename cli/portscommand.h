#pragma once

#include "command.h"

class PortsCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("ports"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
