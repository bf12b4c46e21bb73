#pragma once

#include "command.h"

class VerifyCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("verify"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
