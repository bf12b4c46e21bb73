#pragma once

#include "core/form/formdiff.h"
#include "core/form/formvalues.h"
#include "core/link/moduleexchange.h"
#include "core/record/moduleanswer.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <optional>

// One operation on one module as the journal keeps it: recorded when it
// starts, completed when it ends. An entry that was never completed belongs
// to a program that ended half-way: the module's state is unknown.
struct JournalEntry
{
    qint64 id = 0;
    qint64 startedMs = 0;            // milliseconds since 1970, UTC
    std::optional<qint64> endedMs;   // none while unfinished
    QString station;                 // the host's name
    QString user;
    QString program;
    QString version;
    qint64 pid = 0;
    QString operation;               // see the names below
    QString unit;                    // the unit of a batch, where there is one
    QString port;                    // as given
    QString device;                  // what it resolved to
    QString byId;                    // the adapter's /dev/serial/by-id name
    QString usbSerial;
    QString moduleId;                // m_id and m_nev, as sent or as read
    QString moduleName;
    QByteArray content;              // the content file's bytes, as sent or as read
    QString recordSha256;            // of the record bytes sent, or of the answer received
    QString file;                    // the content file it came from or went to
    QString result;                  // see the names below; empty while unfinished
    std::optional<int> exitCode;
    QString reason;                  // why it ended so, as an id (see JournalReason)
    QList<FieldDifference> differences;  // of a failed verify: the file first, the module second
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
    QString backup;                  // the backup kept before a download
    // Not kept: the unit's claim (its provision entry's id) that must still
    // hold for the journal to take this entry's start or end. 0: none.
    qint64 claimToken = 0;

    bool isFinished() const { return !result.isEmpty(); }
};

namespace JournalName {
inline const QString Download = QStringLiteral("download");
inline const QString Readup = QStringLiteral("readup");
inline const QString Verify = QStringLiteral("verify");
inline const QString Backup = QStringLiteral("backup");
inline const QString Provision = QStringLiteral("provision");  // a unit of a batch, from claim to proof

inline const QString Ok = QStringLiteral("ok");
inline const QString Failed = QStringLiteral("failed");
inline const QString Refused = QStringLiteral("refused");
inline const QString Interrupted = QStringLiteral("interrupted");
inline const QString Unfinished = QStringLiteral("unfinished");  // only as a filter
} // namespace JournalName

// The start of an entry: now, this station, user, program and process, and
// the port with the device and the USB adapter behind it.
JournalEntry startEntry(const QString &operation, const QString &port);

// The module's content in the entry: the content file, its identifier and name.
void setContent(JournalEntry &entry, const FormValues &values);

// The end of an entry from how the exchange ended: its result and the id of
// its reason (see JournalReason).
void setEnding(JournalEntry &entry, const ExchangeReport &report, AnswerError answerError = AnswerError::None, int fieldCount = 0);
// The exit code an entry keeps: what tavir340-cli exits with for such an end,
// whichever front made it: 0 done, 1 the module failed, 2 refused, 3 the
// port could not be taken, 4 interrupted.
int exitCodeOf(Ending ending);

// The result name for an exchange's ending.
QString resultName(Ending ending);

QString sha256Hex(const QByteArray &bytes);

// Differences as the journal keeps them: field, expected, found; ids and
// values only, so that every front reads them in its own words.
QJsonArray differencesJson(const QList<FieldDifference> &differences);
