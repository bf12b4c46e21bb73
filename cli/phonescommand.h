#pragma once

#include "command.h"

// "phones import" puts the numbers of a vCard or CSV file into a content
// file's free telephone rows; "phones export" writes a content file's
// numbers as either.
class PhonesCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("phones"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;

private:
    int importNumbers(QCommandLineParser &parser, const QString &contactsPath);
    int exportNumbers(QCommandLineParser &parser, const QString &contentPath);
};
