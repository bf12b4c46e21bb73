#pragma once

#include "core/content/contentfile.h"
#include "core/form/formdiff.h"
#include "core/form/formvalues.h"
#include "core/journal/journallocation.h"
#include "core/provisioning/unitprovisioning.h"
#include "core/settings/linksettings.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <optional>

class SharedJournal;
class TransferPlan;

// What every subcommand of tavir340-cli shares: its options, how it reports,
// and the exit codes. Each subcommand is a thin layer of argument parsing and
// output over the core the window uses.

enum ExitCode {
    Success = 0,
    ModuleFailed = 1,     // no answer, no acknowledge, verify mismatch, bad answer (diff: files differ)
    Refused = 2,          // usage, a file that cannot be read or written, a refused field: no module was written
    PortUnavailable = 3,  // missing, busy, no permission
    Interrupted = 4,      // Ctrl+C
    NotRecorded = 5,      // done, but a result could not be written: standard output, an output file, the log
    UnitsLeft = 6,        // provision: nothing failed, but units of the manifest are not proven yet
};

// The exit codes as --help explains them.
extern const char *const ExitCodeHelp;

// The outcome of one operation on one port (or on files, for diff and set).
struct Result
{
    QString port;
    QString unit;      // the unit of a batch
    QString operation;
    ExitCode code = Success;
    QString message;  // why it failed, empty on success
    QString reason;   // the same as the journal's id (see JournalReason)
    QString note;     // said in place of "ok", where there was nothing to do
    double seconds = 0;
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
    QList<FieldDifference> differences;
    QString firstName = QStringLiteral("file");  // how the two sides of a difference are named in text
    QString secondName = QStringLiteral("module");
    QString backup;   // the backup file written before a download
    QString label;    // the label made for a proven unit
    QString output;   // the file written
    qint64 journalEntry = 0;  // the journal's entry of the operation
    bool noAnswer = false;    // the module gave no answer or no acknowledge: worth another try
    std::optional<UnitState> unitState;  // a unit of a batch: how it ended
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
    // --dry-run: what would go on the line, printed as the exchange log
    // shows it, and no port opened.
    static void addDryRunOption(QCommandLineParser &parser);
    // --force, as earlier versions spelled what now has a name of its own:
    // kept working for scripts, left out of --help.
    static void addOldForceOption(QCommandLineParser &parser);
    bool printDryRun(const QStringList &ports, const QList<QByteArray> &toModule, const QList<QByteArray> &expected = {}) const;
    // A document the command made (a PDF), to `output` or, for "-", to
    // standard output; its exit code.
    // `secret`: it holds a PIN, and is its owner's alone (0600).
    int writeDocument(const QString &output, const QByteArray &bytes, bool secret = false) const;
    // A content file the command made, to `output` (private to its owner,
    // for it holds the PIN) or, for "-", to standard output; its exit code.
    int writeContent(const QString &output, const FormValues &form) const;
    // A download's request and pieces, as a dry run shows them.
    static QList<QByteArray> downloadPieces(const TransferPlan &plan);
    // --journal and --no-journal; the run's journal, once it is known to take
    // entries (none with --no-journal), or false after the refusal has been
    // reported.
    static void addJournalOptions(QCommandLineParser &parser);
    // A time as --since takes it: a date (its midnight, UTC) or a date and
    // time (UTC unless it names its zone); none when it is neither.
    static std::optional<qint64> timeOption(const QString &text);
    bool openJournal(const QCommandLineParser &parser, std::unique_ptr<SharedJournal> *journal) const;
    // The warning that a journal readable by others was made private.
    static void warnIfMended(const JournalLocation &location, int mendedFromMode);

    // A diagnostic on standard error, and with --json a result object on
    // standard output; returns `code`.
    int fail(ExitCode code, const QString &message) const;
    // The folder of --backup, made where it is missing; false after the
    // refusal has been reported.
    bool backupFolder(const QCommandLineParser &parser, QString *folder) const;
    // A content file goes raw to standard output only when that is no
    // terminal, whose escape codes a module's text could work; false after
    // the refusal has been reported.
    bool contentMayGoToStandardOutput() const;
    // Refuses an empty port name and a port given twice.
    bool checkPorts(const QStringList &ports) const;
    // A content file's form ("-": standard input, read to its end), or
    // nothing after the reason has been reported. A value longer than its
    // field is refused, naming field and length, for whatever sends or
    // compares the form; with Cut it is cut to the field, and `cut` (when
    // given) receives those fields.
    enum class LongValues { Refuse, Cut };
    std::optional<FormValues> loadForm(const QString &path, LongValues longValues = LongValues::Refuse,
                                       QList<ContentFile::LoadResult::Cut> *cut = nullptr) const;
    // The result on standard output (or `toError`), as text or as a JSON line.
    void report(const Result &result, bool toError = false) const;
    bool json() const { return m_json; }
    bool quiet() const { return m_quiet; }

private:
    bool m_json = false;
    bool m_quiet = false;
};

// The highest of the codes, the run's exit code over several ports; a result
// that was not recorded counts only when nothing failed.
int worstCode(const QList<Result> &results);
// A run's code once an output could not be written: NotRecorded, unless
// something worse happened already.
int withOutputFailure(int code);

// A result as JSON: the same keys every time, null where there is nothing.
QJsonObject resultObject(const Result &result);
// Bytes on a stream as they stand; false when standard output did not take them.
bool print(std::FILE *stream, const QByteArray &bytes);
// Lines of text on a stream, each shown safely (see Phrase::shown); false
// when standard output did not take them.
bool printLines(std::FILE *stream, const QStringList &lines);
