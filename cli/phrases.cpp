#include "phrases.h"

#include "core/journal/journal.h"
#include "core/journal/journalreason.h"
#include "core/port/portname.h"

#include <QHash>
#include <QJsonObject>

#include <cstring>

namespace Phrase {

namespace {

// The form's captions in English. The order of the input texts is the
// form's: input 1 on, input 2 on, input 1 off, input 2 off.
const QHash<QString, QString> &captions()
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("smskp"), QStringLiteral("SMS centre")},
        {QStringLiteral("m_pin"), QStringLiteral("Module PIN")},
        {QStringLiteral("m_id"), QStringLiteral("Module identifier")},
        {QStringLiteral("m_nev"), QStringLiteral("Module name")},
        {QStringLiteral("visszaallas"), QStringLiteral("Restore")},
        {QStringLiteral("be1_nev"), QStringLiteral("Name of input 1")},
        {QStringLiteral("be2_nev"), QStringLiteral("Name of input 2")},
        {QStringLiteral("rele_time"), QStringLiteral("Relay pull-in time")},
        {QStringLiteral("ki3_on"), QStringLiteral("Output 3 switched on")},
        {QStringLiteral("ki4_on"), QStringLiteral("Output 4 switched on")},
        {QStringLiteral("ki3_off"), QStringLiteral("Output 3 switched off")},
        {QStringLiteral("ki4_off"), QStringLiteral("Output 4 switched off")},
        {QStringLiteral("be1_on_msg"), QStringLiteral("Input 1 switched on")},
        {QStringLiteral("be1_off_msg"), QStringLiteral("Input 2 switched on")},
        {QStringLiteral("be2_on_msg"), QStringLiteral("Input 1 switched off")},
        {QStringLiteral("be2_off_msg"), QStringLiteral("Input 2 switched off")},
    };
    return table;
}

} // namespace

QString caption(const QString &name)
{
    static const char *const columns[] = {"Input alarm 2", "Input alarm 1", "Output control 2", "Output control 1"};
    const int index = lineEditIndex(name);
    if (index >= FieldItemCount)
        return QStringLiteral("Telephone %1").arg(index - FieldItemCount + 1);
    if (const std::optional<CheckBoxPlace> place = checkBoxPlace(name))
        return QStringLiteral("Telephone %1, %2").arg(place->row).arg(QLatin1String(columns[place->column - 1]));
    return captions().value(name);
}

QString named(const QString &name)
{
    const QString shown = caption(name);
    return shown.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, shown);
}

QString field(int index)
{
    if (index < 0 || index >= LineEditCount)
        return QString();
    return named(lineEditCatalogue()[index].name);
}

QString longerThan(int maxLength)
{
    return QStringLiteral("longer than the field's %1 characters").arg(maxLength);
}

QString tooLong(int index, qsizetype length)
{
    return QStringLiteral("%1: %2 characters, %3").arg(field(index)).arg(length).arg(longerThan(lineEditCatalogue()[index].maxLength));
}

QJsonArray differences(const QList<FieldDifference> &differences)
{
    QJsonArray array;
    for (const FieldDifference &d : differences) {
        const QString shown = caption(d.name);
        array.append(QJsonObject{{QStringLiteral("field"), d.name},
                                 {QStringLiteral("caption"), shown.isEmpty() ? QJsonValue() : QJsonValue(shown)},
                                 {QStringLiteral("expected"), d.first},
                                 {QStringLiteral("found"), d.second}});
    }
    return array;
}

QString stage(Stage stage)
{
    switch (stage) {
    case Stage::Backup: return QStringLiteral("backup");
    case Stage::Download: return QStringLiteral("download");
    case Stage::Readup: return QStringLiteral("read-up");
    case Stage::Verify: return QStringLiteral("verify");
    }
    return {};
}

QString fieldRule(FieldRule rule)
{
    switch (rule) {
    case FieldRule::Digits:
    case FieldRule::TelephoneDigits: return QStringLiteral("only digits and blanks");
    case FieldRule::SevenBitText: return QStringLiteral("only printable 7-bit characters (no accents)");
    case FieldRule::RestoreFlag: return QStringLiteral("only 1, 0 or nothing");
    case FieldRule::None: break;
    }
    return {};
}

QString refusalReason(const RecordResult &refusal, char separator)
{
    switch (refusal.error) {
    case RecordError::None:
        return {};
    case RecordError::MissingField:
        return QStringLiteral("empty, and every visible field must be filled");
    case RecordError::AccentedCharacter:
        return QStringLiteral("a character the module cannot store (accented letters are not allowed)");
    case RecordError::NotLatin1:
        return QStringLiteral("a character that cannot be sent to the module");
    case RecordError::ControlCharacter:
        return QStringLiteral("a control character (a line break, a tab)");
    case RecordError::FieldRule:
        return fieldRule(refusal.rule);
    case RecordError::SeparatorInText:
        return QStringLiteral("holds the separator %1").arg(settingChar(separator));
    }
    return {};
}

QString ruleName(const RecordResult &refusal)
{
    switch (refusal.error) {
    case RecordError::None: return {};
    case RecordError::MissingField: return QStringLiteral("missing");
    case RecordError::AccentedCharacter: return QStringLiteral("accent");
    case RecordError::NotLatin1: return QStringLiteral("notLatin1");
    case RecordError::ControlCharacter: return QStringLiteral("control");
    case RecordError::SeparatorInText: return QStringLiteral("separator");
    case RecordError::FieldRule:
        switch (refusal.rule) {
        case FieldRule::Digits: return QStringLiteral("digits");
        case FieldRule::TelephoneDigits: return QStringLiteral("telephoneDigits");
        case FieldRule::SevenBitText: return QStringLiteral("sevenBit");
        case FieldRule::RestoreFlag: return QStringLiteral("restoreFlag");
        case FieldRule::None: break;
        }
    }
    return {};
}

QString refusal(const RecordResult &refusal, char separator)
{
    QString subject = field(refusal.field);
    if (subject.isEmpty())
        subject = refusal.error == RecordError::AccentedCharacter ? QStringLiteral("the separator") : QStringLiteral("the checksum character");
    return subject + QStringLiteral(": ") + refusalReason(refusal, separator);
}

QString portState(const SerialDevice::PortState &state)
{
    using SerialDevice::Access;
    switch (state.access) {
    case Access::Free:
        return QStringLiteral("free");
    case Access::NoPermission:
        return QStringLiteral("no permission (group %1)").arg(state.group);
    case Access::Busy:
        if (state.holder && !state.holder->program.isEmpty())
            return QStringLiteral("busy (%1, %2)").arg(state.holder->program).arg(state.holder->pid);
        if (state.holder)
            return QStringLiteral("busy (%1)").arg(state.holder->pid);
        if (!state.lockFile.isEmpty() && state.stalePid > 0)
            return QStringLiteral("busy: the lock file %1 names process %2, which has ended, and only its owner may remove it: "
                                  "sudo rm %1").arg(state.lockFile).arg(state.stalePid);
        if (!state.lockFile.isEmpty())
            return QStringLiteral("busy (lock file %1)").arg(state.lockFile);
        return QStringLiteral("busy");
    case Access::Missing:
        return QStringLiteral("missing");
    }
    return {};
}

// How the exchange ended, classified once by the core: the id phrased as
// the journal's reasons are, with what the line showed beyond it.
QString ending(const ExchangeReport &report)
{
    namespace R = JournalReason;
    const QString id = R::split(R::of(report)).id;
    const QString bytes = QString::fromLatin1(report.unexpected.toHex(' ').toUpper());
    switch (report.ending) {
    case Ending::Done: return {};
    case Ending::PortUnavailable:
        return QStringLiteral("cannot open the port: %1: %2%3")
            .arg(SerialDevice::shortName(report.port.device), portState(report.port),
                 report.port.access == SerialDevice::Access::NoPermission ? permissionFix(report.port.permission) : QString());
    case Ending::Cancelled:
    case Ending::Interrupted:
        return QStringLiteral("interrupted");
    default:
        break;
    }
    if (id == R::LineClosed)
        return QStringLiteral("the line closed after %1 bytes").arg(report.bytesSent + report.bytesReceived);
    if (!bytes.isEmpty() && id == R::NoReady)
        return QStringLiteral("the module answered the download request with %1").arg(bytes);
    if (!bytes.isEmpty() && id == R::NoAcknowledge)
        return QStringLiteral("wrong acknowledge (received %1)").arg(bytes);
    return journalReason(id);
}

QString permissionFix(const PermissionAdvice &advice)
{
    using Fix = PermissionAdvice::Fix;
    switch (advice.fix) {
    case Fix::None: return {};
    case Fix::JoinGroup: return QStringLiteral("; the fix: sudo usermod -aG %1 $USER, then log in again").arg(advice.group);
    case Fix::LogInAgain:
        return QStringLiteral("; you are in the group %1, but not in this session yet: log out and in again (or: newgrp %1)").arg(advice.group);
    case Fix::GroupCannotWrite:
        return QStringLiteral("; the group %1 may not write to it (mode %2): a udev rule must give it, for example this line in "
                              "/etc/udev/rules.d/99-tavir340.rules: %3")
            .arg(advice.group, QString::number(advice.mode, 8).rightJustified(4, QLatin1Char('0')), advice.udevRule);
    case Fix::RootOnly:
        return QStringLiteral("; only root may open it: a udev rule must give it to a group, for example this line in "
                              "/etc/udev/rules.d/99-tavir340.rules: %1")
            .arg(advice.udevRule);
    }
    return {};
}

QString answerProblem(AnswerError error, int fieldCount)
{
    return journalReason(JournalReason::ofAnswer(error, fieldCount));
}

QString difference(const FieldDifference &d, const QString &firstName, const QString &secondName)
{
    const bool box = isCheckBox(d);
    auto side = [box](const QString &value) { return box ? value : QLatin1Char('"') + value + QLatin1Char('"'); };
    return QStringLiteral("%1: %2 %3, %4 %5").arg(named(d.name), firstName, side(d.first), secondName, side(d.second));
}

QString unsavable(const ContentFile::SaveProblem &problem)
{
    using Reason = ContentFile::SaveProblem::Reason;
    switch (problem.reason) {
    case Reason::WrongShape: return QStringLiteral("the form does not have the content file's fields");
    case Reason::EndMark: return field(problem.field) + QStringLiteral(" is \"---\", which ends a content file");
    case Reason::LineBreak: return field(problem.field) + QStringLiteral(" holds a line break");
    case Reason::NulCharacter: return field(problem.field) + QStringLiteral(" holds a NUL character");
    case Reason::NotLatin1: return field(problem.field) + QStringLiteral(" holds a character a content file cannot store");
    case Reason::TooLong: return field(problem.field) + QStringLiteral(" is longer than the field");
    }
    return {};
}

QString editRefusal(const EditRefusal &refusal, char separator)
{
    switch (refusal.reason) {
    case EditRefusal::Reason::NotAnAssignment: return QStringLiteral("not NAME=VALUE");
    case EditRefusal::Reason::NoSuchField: return QStringLiteral("no such field");
    case EditRefusal::Reason::NotABoxValue: return QStringLiteral("a check box takes 1 or 0");
    case EditRefusal::Reason::TooLong: return longerThan(refusal.maxLength);
    case EditRefusal::Reason::Refused: return refusalReason(refusal.refusal, separator);
    }
    return {};
}

QString fileError(const FileError &error)
{
    switch (error.kind) {
    case FileError::Kind::None: return {};
    case FileError::Kind::NotRegularFile: return QStringLiteral("not a regular file");
    case FileError::Kind::Link: return QStringLiteral("a symbolic link, which is never written through");
    case FileError::Kind::OtherOwner:
        return QStringLiteral("a file of %1 in a folder others may write, which is not replaced").arg(userName(uid_t(error.code)));
    case FileError::Kind::FolderOwner:
        return QStringLiteral("a folder of %1; files are written only into folders of the user running this program")
            .arg(userName(uid_t(error.code)));
    case FileError::Kind::OpenFolder:
        return QStringLiteral("a folder others may write in (without the sticky bit), where they could replace what is written");
    case FileError::Kind::System: return QString::fromLocal8Bit(std::strerror(error.code));
    }
    return {};
}

QString cannotWrite(const QString &path, const FileError &error)
{
    return QStringLiteral("cannot write %1: %2").arg(path, fileError(error));
}

QString journalUnreadable(const QString &where, const JournalProblem &problem)
{
    return QStringLiteral("the journal %1 cannot be read: %2").arg(where, journalProblem(problem));
}

QString cannotUseFolder(const QString &what, const QString &folder, const FileError &error)
{
    return QStringLiteral("the %1 folder %2 cannot be used: %3").arg(what, folder, fileError(error));
}

QString fileBytesProblem(const ManifestBytes &read, bool manifest)
{
    const QString mib = QString::number(ManifestBytes::MaxBytes / (1024 * 1024));
    switch (read.problem) {
    case ManifestBytes::Problem::None: break;
    case ManifestBytes::Problem::Unreadable: return QString::fromLocal8Bit(std::strerror(read.error));
    case ManifestBytes::Problem::NotRegularFile:
        return manifest ? QStringLiteral("not a regular file, so not a manifest") : QStringLiteral("not a regular file");
    case ManifestBytes::Problem::TooLarge:
        return (manifest ? QStringLiteral("larger than a manifest may be (%1 MiB)") : QStringLiteral("larger than %1 MiB")).arg(mib);
    }
    return {};
}

QString journalReason(const QString &reason)
{
    namespace R = JournalReason;
    if (reason.isEmpty())
        return reason;
    const R::Parts parts = R::split(reason);
    static const QHash<QString, QString> phrases = {
        {R::Refused, QStringLiteral("refused")},
        {R::PortMissing, QStringLiteral("the port is not there")},
        {R::PortBusy, QStringLiteral("the port is busy")},
        {R::PortNoPermission, QStringLiteral("no permission to open the port")},
        {R::LineSetupFailed, QStringLiteral("the port would not take the line settings")},
        {R::NoReady, QStringLiteral("the module did not answer the download request")},
        {R::NoAcknowledge, QStringLiteral("the module did not acknowledge the record")},
        {R::LineClosed, QStringLiteral("the line closed")},
        {R::NoAnswer, QStringLiteral("no answer from the module")},
        {R::FieldCount, QStringLiteral("the module sent %1 fields instead of ") + QString::number(LineEditCount)},
        {R::BadGroup, QStringLiteral("the form's check boxes have no group numbers")},
        {R::NotAConfiguration, QStringLiteral("the module's answer is not a configuration")},
        {R::Mismatch, QStringLiteral("the module holds another configuration")},
        {R::Cancelled, QStringLiteral("cancelled")},
        {R::Interrupted, QStringLiteral("interrupted: the module's content is unknown")},
        {R::Unsavable, QStringLiteral("the module's content cannot be kept in a content file")},
        {R::FileNotWritten, QStringLiteral("the file could not be written")},
        {R::BackupFailed, QStringLiteral("the backup failed, the module was not written")},
        {R::NotRecorded, QStringLiteral("a step's end was not recorded in the journal")},
        {R::NotProven, QStringLiteral("written, not proven: the verify's agreement is not in the journal")},
        {R::NotSwapped, QStringLiteral("the module still holds unit %1: not swapped, not written")},
        {R::ClaimLost, QStringLiteral("claim lost: the unit's claim left this run, nothing more was sent")},
    };
    const auto phrase = phrases.constFind(parts.id);
    if (phrase == phrases.cend())
        return reason;
    return parts.id == R::FieldCount || parts.id == R::NotSwapped ? phrase->arg(parts.value) : *phrase;
}

QString journalProblem(const JournalProblem &problem)
{
    auto because = [&problem](const QString &what) {
        return problem.detail.isEmpty() ? what : what + QStringLiteral(" (") + problem.detail + QLatin1Char(')');
    };
    using Error = JournalProblem::Error;
    switch (problem.error) {
    case Error::None: return {};
    case Error::NoDriver: return QStringLiteral("Qt's %1 database driver is not installed").arg(problem.detail);
    case Error::CannotCreate: return because(QStringLiteral("cannot be made"));
    case Error::Missing: return QStringLiteral("there is no journal there");
    case Error::CannotOpen: return because(QStringLiteral("cannot be opened"));
    case Error::ReadOnly: return because(QStringLiteral("is read-only"));
    case Error::NewerSchema:
        return QStringLiteral("it was made by a newer program (journal version %1; this program knows version %2)")
            .arg(problem.foundVersion).arg(Journal::SchemaVersion);
    case Error::WriteFailed: return because(QStringLiteral("an entry could not be written"));
    case Error::Relative:
        return QStringLiteral("a journal is named by an absolute path (this one would mean %1)").arg(problem.detail);
    case Error::DiskFull: return QStringLiteral("its disk is full");
    case Error::Damaged: return because(QStringLiteral("it is damaged"));
    case Error::NotAJournal: return QStringLiteral("it is another program's database, not a journal; it was left as it was");
    case Error::OtherOwner:
        return QStringLiteral("it belongs to %1, not to the user running this program; it was left as it was").arg(problem.detail);
    case Error::FolderOwner:
        return QStringLiteral("its folder belongs to %1; a journal is kept only in a folder of the user running this program")
            .arg(problem.detail);
    case Error::OpenFolder:
        return QStringLiteral("others may write in its folder %1 (it has no sticky bit) and could replace it").arg(problem.detail);
    case Error::Link: return QStringLiteral("it is a symbolic link; name the journal's own file");
    case Error::SideFile:
        return QStringLiteral("%1 beside it is not the journal owner's alone (mode 600); it was not opened").arg(problem.detail);
    case Error::ClaimLost:
        return QStringLiteral("the unit's claim is no longer this run's (its lease ran out, and another station may have taken it)");
    }
    return {};
}

QString shown(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Format)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace Phrase

QString Phrase::importReason(ImportReason reason)
{
    switch (reason) {
    case ImportReason::None: break;
    case ImportReason::DuplicateInFile: return QStringLiteral("already earlier in the file");
    case ImportReason::AlreadyInForm: return QStringLiteral("already in the form");
    case ImportReason::Landline: return QStringLiteral("a landline, where a mobile is usual");
    case ImportReason::NotANumber: return QStringLiteral("not a telephone number");
    case ImportReason::TooLong: return QStringLiteral("longer than the telephone field's 14 digits");
    }
    return {};
}

QString Phrase::unitState(UnitState state)
{
    switch (state) {
    case UnitState::Proven: return QStringLiteral("proven");
    case UnitState::WrittenNotProven: return QStringLiteral("not proven");
    case UnitState::Failed: return QStringLiteral("failed");
    case UnitState::NotWritten: return QStringLiteral("not written");
    case UnitState::NotSwapped: return QStringLiteral("not swapped");
    case UnitState::ClaimLost: return QStringLiteral("claim lost");
    case UnitState::Interrupted: return QStringLiteral("interrupted");
    }
    return {};
}

QString Phrase::unitStateId(UnitState state)
{
    return unitState(state).replace(QLatin1Char(' '), QLatin1Char('-'));
}

QString Phrase::unstored(const UnstoredNumber &number)
{
    const QString field = named(QStringLiteral("t%1").arg(number.row));
    return number.stored.isEmpty()
               ? QStringLiteral("%1: \"%2\" is no telephone number the module could dial").arg(field, number.written)
               : QStringLiteral("%1: \"%2\" is not as the module keeps it: %3").arg(field, number.written, number.stored);
}
