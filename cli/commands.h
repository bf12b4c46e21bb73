#pragma once

#include "command.h"

#include <memory>
#include <vector>

// The subcommands of tavir340-cli, in the order --help lists them.

class PortsCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("ports"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class DownloadCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("download"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class ReadupCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("readup"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class VerifyCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("verify"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class DiffCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("diff"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class SetCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("set"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class ProvisionCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("provision"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class CheckCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class GetCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("get"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

class JournalCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("journal"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;
};

std::vector<std::unique_ptr<Command>> allCommands();
