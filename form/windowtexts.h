#pragma once

#include "content/contentfile.h"
#include "form/fieldcheck.h"
#include "form/formdiff.h"
#include "journal/journalsink.h"
#include "transfer/contentrecord.h"
#include "transfer/moduleanswer.h"
#include "transfer/moduleexchange.h"
#include "transfer/port/exclusiveport.h"

#include <QString>

// What the window says about what the core reports: the window's long-standing
// texts where it has them, Hungarian beside them where it has none. Every
// sentence the window shows about a rule, a port or a module comes from here.
namespace WindowText {

// The "Input error" box of a field that breaks its rule.
QString inputError(FieldRule rule);
// The "Betöltés hiba." box of a refused download.
QString downloadRefusal(const RecordResult &refusal, char separator);
// "ttyUSB0: foglalt (minicom, 4711)".
QString portState(const SerialDevice::PortState &state);
// Why an exchange failed, as the line under the window's usual text: the
// port and its state (with the fix for a missing permission), no answer, a
// wrong answer with its bytes, a line that closed. Empty when it did not fail.
QString failureReason(const ExchangeReport &report, AnswerError answerError = AnswerError::None, int fieldCount = 0);
// The details of a failed verify: each field the module holds otherwise, or
// why its answer could not be read as fields.
QString verifyDetails(const AnswerComparison &comparison);
// The tool tip of a field a verify found different: "A modul értéke: "ABLAK"".
QString moduleHolds(const FieldDifference &difference);
// The line under "Az összes mező kitöltése kötelező." that names the field.
QString missingField(int field);
// The "Error" box of a form that would not load back from its file.
QString unsavable(const ContentFile::SaveProblem &problem);
// Why the disk did not take a file: the system's own words.
QString fileError(const FileError &error);
// The box that says, once, that transfers go unrecorded.
QString journalUnavailable(const QString &where, const JournalProblem &problem);
// How a journal entry's operation and result read in the journal window.
QString journalOperation(const QString &operation);
QString journalResult(const QString &result);

} // namespace WindowText
