#pragma once

#include "command.h"

class LabelCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("label"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
