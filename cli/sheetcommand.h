#pragma once

#include "command.h"

class SheetCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("sheet"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};
