#pragma once

#include "core/link/moduleexchange.h"
#include "core/record/moduleanswer.h"

#include <QString>
#include <QStringList>

// Why an operation ended as it did, as the journal keeps it: an id, never a
// front's sentence, so that an entry written by the window reads the same on
// the command line and the other way round. Each front phrases the ids in its
// own language; an id with a value carries it after a colon
// ("field-count:43").
namespace JournalReason {

inline const QString Refused = QStringLiteral("refused");
inline const QString PortMissing = QStringLiteral("port-missing");
inline const QString PortBusy = QStringLiteral("port-busy");
inline const QString PortNoPermission = QStringLiteral("port-no-permission");
inline const QString LineSetupFailed = QStringLiteral("line-setup-failed");
inline const QString NoReady = QStringLiteral("no-ready");
inline const QString NoAcknowledge = QStringLiteral("no-acknowledge");
inline const QString LineClosed = QStringLiteral("line-closed");
inline const QString NoAnswer = QStringLiteral("no-answer");
inline const QString FieldCount = QStringLiteral("field-count");
inline const QString BadGroup = QStringLiteral("bad-group");
inline const QString NotAConfiguration = QStringLiteral("not-a-configuration");
inline const QString Mismatch = QStringLiteral("mismatch");
inline const QString Cancelled = QStringLiteral("cancelled");
inline const QString Interrupted = QStringLiteral("interrupted");
inline const QString Unsavable = QStringLiteral("unsavable");        // a read-up no content file can hold
inline const QString FileNotWritten = QStringLiteral("file-not-written");
inline const QString BackupFailed = QStringLiteral("backup-failed");  // a unit's backup, before anything was written
inline const QString NotRecorded = QStringLiteral("not-recorded");    // a step's end the journal would not take
inline const QString NotProven = QStringLiteral("not-proven");        // written, but no verify's agreement is in the journal
inline const QString NotSwapped = QStringLiteral("not-swapped");      // the module holds another unit (its name after the colon)
inline const QString ClaimLost = QStringLiteral("claim-lost");        // the unit's claim left this run: nothing more was sent

// Every id above, so that a front can be checked to phrase each.
const QStringList &all();

// The id for how an exchange ended; empty when it did what was asked.
QString of(const ExchangeReport &report, AnswerError answerError = AnswerError::None, int fieldCount = 0);

// The id for an answer that could not be read as fields; empty for one
// that could.
QString ofAnswer(AnswerError error, int fieldCount);

// An id and its value, as "field-count:43" holds them.
struct Parts
{
    QString id;
    QString value;
};
Parts split(const QString &reason);
// The reason an id with a value makes: the other way round.
QString withValue(const QString &id, const QString &value);

} // namespace JournalReason
