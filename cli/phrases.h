#pragma once

#include "core/content/contentedit.h"
#include "core/content/contentfile.h"
#include "core/content/manifestfile.h"
#include "core/form/fieldcheck.h"
#include "core/form/formdiff.h"
#include "core/journal/journalsink.h"
#include "core/storage/outputfile.h"
#include "core/record/contentrecord.h"
#include "core/record/moduleanswer.h"
#include "core/link/moduleexchange.h"
#include "core/phones/phoneimport.h"
#include "core/phones/phonenumber.h"
#include "core/port/exclusiveport.h"
#include "core/provisioning/steps.h"
#include "core/provisioning/unitprovisioning.h"

#include <QJsonArray>
#include <QString>

// What tavir340-cli says about what the core reports, in English. Every
// sentence the command line prints about a rule, a port, a module or a file
// comes from here.
namespace Phrase {

// A field's or a permission box's caption in English: "Module name",
// "Telephone 3", "Telephone 3, Input alarm 2"; empty for a hidden field.
QString caption(const QString &name);
// "m_nev (Module name)": by object name and caption; a hidden field by its name.
QString named(const QString &name);
QString field(int index);
// "longer than the field's 16 characters", and with the field and the length
// it has: "m_nev (Module name): 19 characters, longer than …".
QString longerThan(int maxLength);
QString tooLong(int index, qsizetype length);
// Differences as the command line's JSON gives them: field, caption,
// expected, found.
QJsonArray differences(const QList<FieldDifference> &differences);
QString fieldRule(FieldRule rule);
// Why a download refuses a form: "m_pin (Modul PIN-kód): only digits and
// blanks", and the same without the field.
QString refusal(const RecordResult &refusal, char separator);
QString refusalReason(const RecordResult &refusal, char separator);
// The rule as a word for scripts: "missing", "accent", "digits", …
QString ruleName(const RecordResult &refusal);
// "backup", "download", "read-up", "verify".
QString stage(Stage stage);
// How a unit of a batch ended, the first word of its line: "proven", "not
// proven", "failed", "not written", "not swapped", "claim lost",
// "interrupted"; for JSON with hyphens: "not-proven".
QString unitState(UnitState state);
QString unitStateId(UnitState state);
// "free", "busy (minicom, 4711)", "no permission (group dialout)", "missing".
QString portState(const SerialDevice::PortState &state);
// Why an exchange did not do what was asked.
QString ending(const ExchangeReport &report);
QString answerProblem(AnswerError error, int fieldCount);
// What would let the user open a port: "; the fix: …".
QString permissionFix(const PermissionAdvice &advice);
// "m_nev (Modul neve): file "KAPU", module "ABLAK"".
QString difference(const FieldDifference &difference, const QString &firstName, const QString &secondName);
QString unsavable(const ContentFile::SaveProblem &problem);
// Why `set` or a manifest's cell is refused: "longer than the field's 4
// characters", "a check box takes 1 or 0", a download's refusal.
QString editRefusal(const EditRefusal &refusal, char separator);
QString fileError(const FileError &error);
// "cannot write FILE: why".
QString cannotWrite(const QString &path, const FileError &error);
// "the journal WHERE cannot be read: why".
QString journalUnreadable(const QString &where, const JournalProblem &problem);
// A folder given for `what` ("backup", "label") that cannot take our files.
QString cannotUseFolder(const QString &what, const QString &folder, const FileError &error);
// A journal entry's reason (see JournalReason) in English; an entry of an
// older program, which kept a sentence, as it stands.
QString journalReason(const QString &reason);
// Why a manifest's file (`manifest`) or a contacts file was not read.
QString fileBytesProblem(const ManifestBytes &read, bool manifest);
// Why the journal takes no entries, or cannot be read.
QString journalProblem(const JournalProblem &problem);

// Text from outside (sysfs, files, the module, the command line) as it may
// go to a terminal: control and formatting characters shown as \x1b or
// \u202e, so that nothing recolours, hides or shifts what is printed.
QString shown(const QString &text);

// "t3 (Telephone 3): "06 30 999 8877" is not as the module keeps it: 36309998877".
QString unstored(const UnstoredNumber &number);

// Why a contact's number is not imported: "a landline where a mobile is usual".
QString importReason(ImportReason reason);

} // namespace Phrase
