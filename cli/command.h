#pragma once

#include "form/formdiff.h"
#include "settings/linksettings.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What every subcommand of tavir340-cli shares: its options, how it reports,
// and the exit codes. Each subcommand is a thin layer of argument parsing and
// output over the core the window uses.

enum ExitCode {
    Success = 0,
    ModuleFailed = 1,     // no answer, no acknowledge, verify mismatch, bad answer (diff: files differ)
    Refused = 2,          // usage, unreadable file, refused field: nothing was sent
    PortUnavailable = 3,  // missing, busy, no permission
    Interrupted = 4,      // Ctrl+C
};

// The exit codes as --help explains them.
extern const char *const ExitCodeHelp;

// The outcome of one operation on one port (or on files, for diff and set).
struct Result
{
    QString port;
    QString operation;
    ExitCode code = Success;
    QString message;  // why it failed, empty on success
    double seconds = 0;
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
    QList<FieldDifference> differences;
    QString firstName = QStringLiteral("file");  // how the two sides of a difference are named
    QString secondName = QStringLiteral("module");
    QString backup;   // the backup file written before a download
    QString output;   // the file written
};

class Command
{
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString summary() const = 0;
    // `arguments` start with the program and the subcommand's name.
    int run(const QStringList &arguments);

protected:
    // Adds the subcommand's own options and positional arguments.
    virtual void configure(QCommandLineParser &parser) = 0;
    virtual int execute(QCommandLineParser &parser) = 0;

    // The options every transfer takes; the link settings they give, or a
    // refusal already reported.
    static void addLinkOptions(QCommandLineParser &parser);
    std::optional<LinkSettings> linkSettings(const QCommandLineParser &parser) const;
    static void addOutputOptions(QCommandLineParser &parser);

    // A diagnostic on standard error; returns `code`.
    int fail(ExitCode code, const QString &message) const;
    // The result on standard output (or `toError`), as text or as a JSON line.
    void report(const Result &result, bool toError = false) const;
    bool json() const { return m_json; }
    bool quiet() const { return m_quiet; }

private:
    bool m_json = false;
    bool m_quiet = false;
};

// The highest of the codes: the run's exit code over several ports.
int worstCode(const QList<Result> &results);
