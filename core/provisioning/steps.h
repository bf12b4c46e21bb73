#pragma once

#include "core/content/contentfile.h"
#include "core/form/formdiff.h"
#include "core/form/formvalues.h"
#include "core/journal/journalsink.h"
#include "core/link/moduleexchange.h"
#include "core/record/moduleanswer.h"
#include "core/settings/linksettings.h"
#include "core/storage/outputfile.h"

#include <QString>

#include <functional>
#include <optional>

class LineInterrupt;
class TransferPlan;

// The module operations as steps of a front's work on one port: each kept in
// the journal from its start, before the port is touched, to its end, and
// each giving back how it ended as values for the front to phrase.

enum class Stage { Backup, Download, Readup, Verify };

// Where a step says how far it has come; called on the step's thread.
class StepProgress
{
public:
    virtual ~StepProgress() = default;
    virtual void advance(Stage stage, int value, int maximum) = 0;
};

struct StepContext
{
    const LineInterrupt *interrupt = nullptr;  // ends the step before its next byte
    StepProgress *progress = nullptr;
    JournalSink *journal = nullptr;            // none: nothing is recorded
    QString unit;                              // the unit of a batch, for the journal
    qint64 claimToken = 0;                     // the unit's claim: its entries are taken only while it holds
    QString file;                              // the content file the work comes from
    QString backup;                            // the backup kept before a download
};

struct StepOutcome
{
    Stage stage = Stage::Download;
    ExchangeReport report;
    AnswerError answerError = AnswerError::None;
    int fieldCount = 0;
    QList<FieldDifference> differences;  // a verify's: the form first, the module second
    FormValues values;                   // a read-up's
    bool answered = false;               // a read-up's module gave its whole content
    std::optional<ContentFile::SaveProblem> unsavable;  // a read-up no content file can hold
    FileError fileError;                 // the file a read-up goes to was not written
    QString output;                      // that file, once whole on the disk
    QString reason;                      // as the journal keeps it (see JournalReason)
    qint64 entry = 0;                    // the step's journal entry
    enum class Record { Done, NotBegun, NotCompleted };
    Record record = Record::Done;        // NotBegun: the step was not done at all
    JournalProblem journalProblem;

    // The module did what was asked (and a read-up's file is whole).
    bool succeeded() const;
    // No answer, or no acknowledge: worth another try.
    bool noAnswer() const;
};

// The backup-first rule, for a download and a unit alike: a module is
// written only once what it held is whole on the disk and the journal holds
// the backup's end; with `writeUnread`, also when the module could not be
// read at all (never when the file or the journal failed, or the backup was
// interrupted).
bool backupLetsWrite(const StepOutcome &kept, bool writeUnread);

// The module's content.
StepOutcome readUpStep(const LinkSettings &settings, const StepContext &context);
// The module's content into `file`, made ready before the port was touched:
// a read-up into a file, or the backup before a download. `nameFor`, when
// given, names the file by the step's journal entry (0 without a journal)
// once that is known.
using EntryName = std::function<QString(qint64 entry)>;
StepOutcome keepStep(OutputFile &file, const LinkSettings &settings, const StepContext &context, Stage stage,
                     const EntryName &nameFor = {});
// The plan of `form` written into the module.
StepOutcome downloadStep(const LinkSettings &settings, const FormValues &form, const TransferPlan &plan, const StepContext &context);
// Whether the module holds `form`.
StepOutcome verifyStep(const LinkSettings &settings, const FormValues &form, const StepContext &context);
