#pragma once

#include "content/contentfile.h"
#include "form/fieldcheck.h"
#include "form/formdiff.h"
#include "journal/journalsink.h"
#include "storage/outputfile.h"
#include "transfer/contentrecord.h"
#include "transfer/moduleanswer.h"
#include "transfer/moduleexchange.h"
#include "transfer/port/exclusiveport.h"

#include <QString>

// What tavir340-cli says about what the core reports, in English. Every
// sentence the command line prints about a rule, a port, a module or a file
// comes from here.
namespace Phrase {

// "m_nev (Modul neve)": a field by its object name and the form's caption.
QString field(int index);
QString fieldRule(FieldRule rule);
// Why a download refuses a form: "m_pin (Modul PIN-kód): only digits and
// blanks", and the same without the field.
QString refusal(const RecordResult &refusal, char separator);
QString refusalReason(const RecordResult &refusal, char separator);
// The rule as a word for scripts: "missing", "accent", "digits", …
QString ruleName(const RecordResult &refusal);
// "free", "busy (minicom, 4711)", "no permission (group dialout)", "missing".
QString portState(const SerialDevice::PortState &state);
// Why an exchange did not do what was asked.
QString ending(const ExchangeReport &report);
QString answerProblem(AnswerError error, int fieldCount);
// "m_nev (Modul neve): file "KAPU", module "ABLAK"".
QString difference(const FieldDifference &difference, const QString &firstName, const QString &secondName);
QString unsavable(const ContentFile::SaveProblem &problem);
QString fileError(const FileError &error);
// Why the journal takes no entries, or cannot be read.
QString journalProblem(const JournalProblem &problem);

// Text from outside (sysfs, files, the module, the command line) as it may
// go to a terminal: control and formatting characters shown as \x1b or
// \u202e, so that nothing recolours, hides or shifts what is printed.
QString shown(const QString &text);

} // namespace Phrase
