#pragma once


#include "core/content/contentfile.h"
#include "core/content/manifestfile.h"
#include "core/form/fieldcheck.h"
#include "core/form/formdiff.h"
#include "core/journal/journalsink.h"
#include "core/record/contentrecord.h"
#include "core/record/moduleanswer.h"
#include "core/link/moduleexchange.h"
#include "core/port/exclusiveport.h"
#include "core/settings/linksettings.h"

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
// A download ended by Escape: whether the module now holds part of the new
// content (`partlySent`) or none of it.
QString abandonedDownload(bool partlySent);
// The details of a failed verify: each field the module holds otherwise, or
// why its answer could not be read as fields.
QString verifyDetails(const AnswerComparison &comparison);
// What would let the user open a port, after ". ": join the group, log in
// again, or a udev rule with its line.
QString permissionFix(const PermissionAdvice &advice);
// The tool tip of a field a verify found different: "A modul értéke: "ABLAK"".
QString moduleHolds(const FieldDifference &difference);
// The line under "Az összes mező kitöltése kötelező." that names the field.
QString missingField(int field);
// The customer's hand-over sheet in the window's language; the PIN only
// with `withPin`.
QString askPinOnSheet();
// A field changed since the last download: its value then, as a mark's tip.
QString downloadedThen(const FieldDifference &difference);
// Every change, a line each: the field, then, now.
QString changes(const QList<FieldDifference> &differences);
// Every empty required field at once: the one field's line, or the list.
QString missingFields(const QList<int> &fields);
// The "Error" box of a form that would not load back from its file.
QString unsavable(const ContentFile::SaveProblem &problem);
// Why the disk did not take a file: the system's own words.
QString fileError(const FileError &error);
// The phone book beside a content file was not written.
QString phoneBookNotSaved(const QString &path, const FileError &error);
// The box that says, once, that transfers go unrecorded.
QString journalUnavailable(const QString &where, const JournalProblem &problem);
// How a journal entry's operation and result read in the journal window.
QString journalOperation(const QString &operation);
QString journalResult(const QString &result);
// A journal entry's reason (see JournalReason) in the window's language; an
// entry of an older program, which kept a sentence, as it stands.
QString journalReason(const QString &reason);
// Why a manifest's file (`manifest`) or a contacts file was not read.
QString fileBytesProblem(const ManifestBytes &read, bool manifest);

// The status bar's word on values a file held longer than their fields,
// which the form cut as its fields do: "Levágva a mező hosszára: „Modul neve”".
QString cutFields(const QList<ContentFile::LoadResult::Cut> &cut);
// The nine-line summary shown by the settings information box.
QString settingsSummary(const LinkSettings &settings);
// A moment as the window shows it: local time, with its zone.
QString localTime(qint64 msSinceEpoch);
// "COM1  Baud: 1200" at start, "COM1 Baud: 1200" once the port was chosen.
QString portLabelText(const LinkSettings &settings, bool portChosen);
// A port as the window shows it: the simulated module by its name in the
// window's language; and back.
QString shownPort(const QString &port);
QString portFromShown(const QString &text);

} // namespace WindowText
