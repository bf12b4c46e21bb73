#pragma once

#include "command.h"

class Journal;

class JournalCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("journal"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;

private:
    int show(Journal &journal, const QString &id, const QString &output) const;
    int claims(Journal &journal) const;
    int list(Journal &journal, const QCommandLineParser &parser, const JournalLocation &location) const;
};
