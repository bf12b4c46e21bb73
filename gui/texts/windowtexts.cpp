#include "windowtexts.h"

#include "labels/fieldcaptions.h"

#include "core/journal/journal.h"
#include "core/journal/journalreason.h"
#include "core/port/portname.h"

#include <QDate>
#include <QLocale>
#include <QDateTime>
#include <QCoreApplication>
#include <QHash>
#include <QStringList>

#include <cstring>

namespace WindowText {

namespace {

// The translation context of every text below.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(WindowText)
};

// A field as the window names it, in the window's language: its caption, or
// "Telefonszám 3", or a permission box by its row and column.
QString shownTitle(const QString &name)
{
    static const char *const columns[] = {QT_TRANSLATE_NOOP("WindowText", "Bemenet riasztás 2"),
                                          QT_TRANSLATE_NOOP("WindowText", "Bemenet riasztás 1"),
                                          QT_TRANSLATE_NOOP("WindowText", "Kimenet vezérlés 2"),
                                          QT_TRANSLATE_NOOP("WindowText", "Kimenet vezérlés 1")};
    const int index = lineEditIndex(name);
    if (index >= FieldItemCount)
        return Texts::tr("Telefonszám %1").arg(index - FieldItemCount + 1);
    if (index >= 0) {
        const QString caption = fieldCaption(index);
        return caption.isEmpty() ? name : caption.chopped(1);
    }
    const std::optional<CheckBoxPlace> place = checkBoxPlace(name);
    if (!place)
        return name;
    return Texts::tr("Telefonszám %1, %2").arg(place->row).arg(Texts::tr(columns[place->column - 1]));
}

QString shownTitle(int field)
{
    return field >= 0 && field < LineEditCount ? shownTitle(lineEditCatalogue()[field].name) : QString();
}

QString quoted(const QString &text)
{
    return QStringLiteral("„%1”").arg(text);
}

QString difference(const FieldDifference &d)
{
    const bool box = isCheckBox(d);
    auto side = [box](const QString &value) { return box ? value : QLatin1Char('"') + value + QLatin1Char('"'); };
    return Texts::tr("%1 (%2): űrlap %3, modul %4").arg(d.name, shownTitle(d.name), side(d.first), side(d.second));
}

} // namespace

QString inputError(FieldRule rule)
{
    switch (rule) {
    case FieldRule::Digits: return Texts::tr("Only numbers.");
    case FieldRule::SevenBitText: return Texts::tr("Only numbers and characters. (7-bit ascii)\n");
    case FieldRule::RestoreFlag: return Texts::tr("The value is only 1 or 0.");
    case FieldRule::TelephoneDigits: return Texts::tr("Telephone number: only numbers.");
    case FieldRule::None: break;
    }
    return {};
}

QString downloadRefusal(const RecordResult &refusal, char separator)
{
    const QString field = refusal.field >= 0 ? quoted(shownTitle(refusal.field)) : QString();
    switch (refusal.error) {
    case RecordError::None:
        return {};
    case RecordError::MissingField:
        return Texts::tr("Az összes mező kitöltése kötelező.");
    case RecordError::AccentedCharacter:
        return Texts::tr("Ékezetes karakterek nem használhatóak.");
    case RecordError::NotLatin1:
        return Texts::tr("A(z) %1 mező olyan karaktert tartalmaz, amely nem küldhető el a modulnak.").arg(field);
    case RecordError::ControlCharacter:
        if (field.isEmpty())
            return Texts::tr("Az ellenőrző karakter nem lehet vezérlőkarakter.");
        return Texts::tr("A(z) %1 mező vezérlőkaraktert (például sortörést) tartalmaz.").arg(field);
    case RecordError::FieldRule:
        switch (refusal.rule) {
        case FieldRule::Digits:
        case FieldRule::TelephoneDigits:
            return Texts::tr("A(z) %1 mező csak számjegyet és szóközt tartalmazhat.").arg(field);
        case FieldRule::SevenBitText:
            return Texts::tr("A(z) %1 mező csak ékezet nélküli betűt, számjegyet és írásjelet tartalmazhat.").arg(field);
        case FieldRule::RestoreFlag:
            return Texts::tr("A(z) %1 mező értéke csak 1, 0 vagy üres lehet.").arg(field);
        case FieldRule::None:
            break;
        }
        return {};
    case RecordError::SeparatorInText:
        if (field.isEmpty())
            return Texts::tr("A mezők nem tartalmazhatják az elválasztó karaktert (%1).").arg(settingChar(separator));
        return Texts::tr("A(z) %1 mező nem tartalmazhatja az elválasztó karaktert (%2).").arg(field, settingChar(separator));
    }
    return {};
}

QString portState(const SerialDevice::PortState &state)
{
    using SerialDevice::Access;
    if (state.device.isEmpty())
        return Texts::tr("Nincs port kiválasztva.");
    const QString name = SerialDevice::shortName(state.device);
    switch (state.access) {
    case Access::Free:
        return Texts::tr("%1: szabad").arg(name);
    case Access::Missing:
        // A USB adapter that is gone was most likely pulled out: said so
        // plainly, before anyone looks at permissions or rules.
        if (SerialDevice::isUsbAdapterName(state.device))
            return Texts::tr("%1: az adapter nincs csatlakoztatva").arg(name);
        return Texts::tr("%1: nem található").arg(name);
    case Access::NoPermission:
        return Texts::tr("%1: nincs jogosultság (csoport: %2)").arg(name, state.group);
    case Access::Busy:
        if (state.holder && !state.holder->program.isEmpty())
            return Texts::tr("%1: foglalt (%2, %3)").arg(name, state.holder->program).arg(state.holder->pid);
        if (state.holder)
            return Texts::tr("%1: foglalt (%2)").arg(name).arg(state.holder->pid);
        if (!state.lockFile.isEmpty() && state.stalePid > 0)
            return Texts::tr("%1: foglalt: a %2 zárolófájl a már véget ért %3 folyamatot nevezi meg, és csak a tulajdonosa törölheti: "
                             "sudo rm %2").arg(name, state.lockFile).arg(state.stalePid);
        if (!state.lockFile.isEmpty())
            return Texts::tr("%1: foglalt (zárolófájl: %2)").arg(name, state.lockFile);
        return Texts::tr("%1: foglalt").arg(name);
    }
    return name;
}

QString permissionFix(const PermissionAdvice &advice)
{
    using Fix = PermissionAdvice::Fix;
    switch (advice.fix) {
    case Fix::None: return {};
    case Fix::JoinGroup: return Texts::tr(". Megoldás: sudo usermod -aG %1 $USER, majd új bejelentkezés.").arg(advice.group);
    case Fix::LogInAgain:
        return Texts::tr(". A felhasználó már tagja a(z) „%1” csoportnak, de ebben a munkamenetben még nem: jelentkezzen ki és be újra (vagy: newgrp %1).")
            .arg(advice.group);
    case Fix::GroupCannotWrite:
        return Texts::tr(". A(z) „%1” csoport nem írhatja az eszközt (%2): egy udev-szabály adhatja meg, például ez a sor a "
                         "/etc/udev/rules.d/99-tavir340.rules fájlban: %3")
            .arg(advice.group, QString::number(advice.mode, 8).rightJustified(4, QLatin1Char('0')), advice.udevRule);
    case Fix::RootOnly:
        return Texts::tr(". Az eszközt csak a root használhatja: egy udev-szabály adhatja egy csoportnak, például ez a sor a "
                         "/etc/udev/rules.d/99-tavir340.rules fájlban: %1")
            .arg(advice.udevRule);
    }
    return {};
}

// How the exchange ended, classified once by the core: the ids phrased as
// the journal phrases them, with what the line showed beyond the id.
QString failureReason(const ExchangeReport &report, AnswerError answerError, int fieldCount)
{
    namespace R = JournalReason;
    const QString reason = R::of(report, answerError, fieldCount);
    const QString id = R::split(reason).id;
    // Said by the box itself, or by the fields that differ.
    if (reason.isEmpty() || id == R::Refused || id == R::Cancelled || id == R::Interrupted || id == R::Mismatch
        || id == R::NotAConfiguration || id == R::BadGroup)
        return {};
    if (report.ending == Ending::PortUnavailable)
        return portState(report.port) + (report.port.access == SerialDevice::Access::NoPermission ? permissionFix(report.port.permission) : QString());
    if (id == R::LineClosed)
        return Texts::tr("A vonal %1 bájt után megszakadt.").arg(report.bytesSent + report.bytesReceived);
    const QString bytes = QString::fromLatin1(report.unexpected.toHex(' ').toUpper());
    if (!bytes.isEmpty() && id == R::NoReady)
        return Texts::tr("A modul nem a várt választ adta (kapott bájtok: %1).").arg(bytes);
    if (!bytes.isEmpty() && id == R::NoAcknowledge)
        return Texts::tr("Hibás nyugtázás (kapott bájtok: %1).").arg(bytes);
    return journalReason(reason);
}

QString abandonedDownload(bool partlySent)
{
    const QString state = partlySent ? Texts::tr("A modul tartalma most ismeretlen: futtassa újra a letöltést.")
                                     : Texts::tr("A modulba nem került adat.");
    return Texts::tr("Betöltés megszakítva.") + QLatin1Char('\n') + state;
}

QString moduleHolds(const FieldDifference &difference)
{
    const bool box = isCheckBox(difference);
    return Texts::tr("A modul értéke: %1").arg(box ? difference.second : QLatin1Char('"') + difference.second + QLatin1Char('"'));
}

QString downloadedThen(const FieldDifference &difference)
{
    const bool box = isCheckBox(difference);
    return Texts::tr("Legutóbb betöltve: %1").arg(box ? difference.first : QLatin1Char('"') + difference.first + QLatin1Char('"'));
}

QString changes(const QList<FieldDifference> &differences)
{
    QStringList lines;
    for (const FieldDifference &d : differences) {
        const bool box = isCheckBox(d);
        auto side = [box](const QString &value) { return box ? value : QLatin1Char('"') + value + QLatin1Char('"'); };
        lines << Texts::tr("%1 (%2): akkor %3, most %4").arg(d.name, shownTitle(d.name), side(d.first), side(d.second));
    }
    return lines.join(QLatin1Char('\n'));
}

QString askPinOnSheet()
{
    return Texts::tr("A modul PIN-kódja is kerüljön a lapra?");
}

QString missingField(int field)
{
    return Texts::tr("Kitöltetlen mező: %1.").arg(quoted(shownTitle(field)));
}

QString missingFields(const QList<int> &fields)
{
    if (fields.size() == 1)
        return missingField(fields.first());
    QStringList names;
    for (const int field : fields)
        names << quoted(shownTitle(field));
    return Texts::tr("Kitöltetlen mezők: %1.").arg(names.join(QStringLiteral(", ")));
}

QString verifyDetails(const AnswerComparison &comparison)
{
    if (comparison.error == AnswerError::NoSeparator || comparison.error == AnswerError::WrongFieldCount)
        return journalReason(JournalReason::ofAnswer(comparison.error, comparison.fieldCount));
    QStringList lines;
    for (const FieldDifference &d : comparison.differences)
        lines << difference(d);
    return lines.isEmpty() ? Texts::tr("A modul válasza nem egyezik az űrlappal.") : lines.join(QLatin1Char('\n'));
}

QString unsavable(const ContentFile::SaveProblem &problem)
{
    using Reason = ContentFile::SaveProblem::Reason;
    QString reason;
    switch (problem.reason) {
    case Reason::WrongShape:
        return Texts::tr("The form cannot be saved: it does not have %1 fields and %2 boxes.")
            .arg(LineEditCount).arg(CheckBoxCount);
    case Reason::EndMark: reason = Texts::tr("it is \"%1\", which marks the end of a content file").arg(ContentFile::EndMark); break;
    case Reason::LineBreak: reason = Texts::tr("it holds a line break"); break;
    case Reason::NulCharacter: reason = Texts::tr("it holds a NUL character"); break;
    case Reason::NotLatin1: reason = Texts::tr("it holds a character that a content file cannot store"); break;
    case Reason::TooLong: reason = Texts::tr("it is longer than the field"); break;
    }
    return Texts::tr("The field \"%1\" cannot be saved: %2.").arg(shownTitle(problem.field), reason);
}

QString phoneBookNotSaved(const QString &path, const FileError &error)
{
    return Texts::tr("A telefonkönyv nem írható: %1\n%2").arg(path, fileError(error));
}

QString fileError(const FileError &error)
{
    if (error.kind == FileError::Kind::NotRegularFile)
        return Texts::tr("nem közönséges fájl");
    if (error.kind == FileError::Kind::Link)
        return Texts::tr("szimbolikus hivatkozás, amelyen át a program nem ír");
    if (error.kind == FileError::Kind::OtherOwner)
        return Texts::tr("%1 felhasználó fájlja egy mások által is írható mappában; a program nem cseréli ki").arg(userName(uid_t(error.code)));
    if (error.kind == FileError::Kind::FolderOwner)
        return Texts::tr("%1 felhasználó mappája; a program csak a futtató felhasználó mappáiba ír").arg(userName(uid_t(error.code)));
    if (error.kind == FileError::Kind::OpenFolder)
        return Texts::tr("mások is írhatnak a mappába (sticky bit nélkül), és kicserélhetnék, amit a program ír");
    return QString::fromLocal8Bit(std::strerror(error.code));
}

QString journalUnavailable(const QString &where, const JournalProblem &problem)
{
    using Error = JournalProblem::Error;
    QString why;
    switch (problem.error) {
    case Error::None: break;
    case Error::NoDriver: why = Texts::tr("hiányzik a Qt %1 adatbázis-meghajtója").arg(problem.detail); break;
    case Error::CannotCreate: why = Texts::tr("nem hozható létre"); break;
    case Error::Missing: why = Texts::tr("nem található"); break;
    case Error::CannotOpen: why = Texts::tr("nem nyitható meg"); break;
    case Error::ReadOnly: why = Texts::tr("csak olvasható"); break;
    case Error::NewerSchema:
        why = Texts::tr("újabb program készítette (a napló %1. változatú, ez a program a %2. változatot ismeri)")
                  .arg(problem.foundVersion).arg(Journal::SchemaVersion);
        break;
    case Error::WriteFailed: why = Texts::tr("nem veszi fel a bejegyzést"); break;
    case Error::Relative: why = Texts::tr("nem abszolút útvonal (ezt jelentené: %1)").arg(problem.detail); break;
    case Error::DiskFull: why = Texts::tr("lemeze megtelt"); break;
    case Error::Damaged: why = Texts::tr("sérült"); break;
    case Error::NotAJournal: why = Texts::tr("más program adatbázisa, nem napló"); break;
    case Error::OtherOwner: why = Texts::tr("%1 felhasználó fájlja, nem a programot futtatóé; érintetlenül maradt").arg(problem.detail); break;
    case Error::FolderOwner: why = Texts::tr("mappája %1 felhasználóé; napló csak a programot futtató felhasználó mappájában lehet").arg(problem.detail); break;
    case Error::OpenFolder: why = Texts::tr("mappájába (%1) mások is írhatnak sticky bit nélkül, és kicserélhetnék").arg(problem.detail); break;
    case Error::ClaimLost: why = Texts::tr("már nem ennek a futásnak a foglalását tartja"); break;
    case Error::Link: why = Texts::tr("szimbolikus hivatkozás; a napló saját fájlját adja meg"); break;
    case Error::SideFile: why = Texts::tr("mellett a(z) %1 nem csak a napló tulajdonosáé (600-as mód)").arg(problem.detail); break;
    }
    if (!problem.detail.isEmpty() && problem.error != Error::NoDriver && problem.error != Error::Relative
        && problem.error != Error::OtherOwner && problem.error != Error::SideFile && problem.error != Error::FolderOwner
        && problem.error != Error::OpenFolder)
        why += QStringLiteral(" (%1)").arg(problem.detail);
    return Texts::tr("A napló (%1) %2.\nA műveletek ettől kezdve nem kerülnek a naplóba.").arg(where, why);
}

QString journalOperation(const QString &operation)
{
    if (operation == JournalName::Download)
        return Texts::tr("betöltés");
    if (operation == JournalName::Readup)
        return Texts::tr("kiolvasás");
    if (operation == JournalName::Verify)
        return Texts::tr("ellenőrzés");
    if (operation == JournalName::Backup)
        return Texts::tr("mentés");
    if (operation == JournalName::Provision)
        return Texts::tr("telepítés");
    return operation;
}

QString journalResult(const QString &result)
{
    if (result == JournalName::Ok)
        return Texts::tr("sikeres");
    if (result == JournalName::Failed)
        return Texts::tr("sikertelen");
    if (result == JournalName::Refused)
        return Texts::tr("elutasítva");
    if (result == JournalName::Interrupted)
        return Texts::tr("megszakítva");
    return Texts::tr("befejezetlen");
}

QString fileBytesProblem(const ManifestBytes &read, bool manifest)
{
    const int mib = ManifestBytes::MaxBytes / (1024 * 1024);
    switch (read.problem) {
    case ManifestBytes::Problem::None: break;
    case ManifestBytes::Problem::Unreadable: return QString::fromLocal8Bit(std::strerror(read.error));
    case ManifestBytes::Problem::NotRegularFile:
        return manifest ? Texts::tr("Nem közönséges fájl, így nem manifest.") : Texts::tr("Nem közönséges fájl.");
    case ManifestBytes::Problem::TooLarge:
        return (manifest ? Texts::tr("Nagyobb, mint egy manifest lehet (%1 MiB).") : Texts::tr("Nagyobb, mint %1 MiB.")).arg(mib);
    }
    return {};
}

QString journalReason(const QString &reason)
{
    namespace R = JournalReason;
    const R::Parts parts = R::split(reason);
    const QString noAnswer = Texts::tr("A modul nem válaszolt.");
    const QHash<QString, QString> phrases = {
        {R::Refused, Texts::tr("Elutasítva.")},
        {R::PortMissing, Texts::tr("A port nem található.")},
        {R::PortBusy, Texts::tr("A port foglalt.")},
        {R::PortNoPermission, Texts::tr("Nincs jogosultság a porthoz.")},
        {R::LineSetupFailed, Texts::tr("A port nem fogadja el a vonal beállításait.")},
        {R::NoReady, noAnswer},
        {R::NoAcknowledge, Texts::tr("A modul nem nyugtázta a betöltést.")},
        {R::LineClosed, Texts::tr("A vonal megszakadt.")},
        {R::NoAnswer, noAnswer},
        {R::FieldCount, Texts::tr("A modul %1 mezőt küldött %2 helyett.").arg(parts.value).arg(LineEditCount)},
        {R::BadGroup, Texts::tr("A jelölőnégyzeteknek nincs csoportszáma.")},
        {R::NotAConfiguration, Texts::tr("A modul válasza nem konfiguráció.")},
        {R::Mismatch, Texts::tr("A modul más konfigurációt tárol.")},
        {R::Cancelled, Texts::tr("Megszakítva.")},
        {R::Interrupted, Texts::tr("Megszakítva: a modul tartalma ismeretlen.")},
        {R::Unsavable, Texts::tr("A modul tartalma nem menthető fájlba.")},
        {R::FileNotWritten, Texts::tr("A fájl nem írható.")},
        {R::BackupFailed, Texts::tr("A mentés nem sikerült, a modul nem lett írva.")},
        {R::NotRecorded, Texts::tr("Egy lépés vége nem került a naplóba.")},
        {R::NotProven, Texts::tr("Beírva, de nem igazolt: az ellenőrzés egyezése nincs a naplóban.")},
        {R::NotSwapped, Texts::tr("A modul még a(z) %1 egységet tartalmazza: nem lett cserélve, nem lett írva.").arg(parts.value)},
        {R::ClaimLost, Texts::tr("A foglalás elveszett: a modulra több bájt nem ment ki.")},
    };
    return phrases.value(parts.id, reason);
}

QString cutFields(const QList<ContentFile::LoadResult::Cut> &cut)
{
    QStringList fields;
    for (const ContentFile::LoadResult::Cut &value : cut)
        fields << quoted(shownTitle(value.field));
    return Texts::tr("Levágva a mező hosszára: %1").arg(fields.join(QStringLiteral(", ")));
}

QString settingsSummary(const LinkSettings &s)
{
    if (s.FilePath.isEmpty())
        return Texts::tr("No opened file.");
    auto checksumText = [](char checkSize) {
        switch (checksumMode(checkSize)) {
        case ChecksumMode::Sum8: return Texts::tr("8bit sum");
        case ChecksumMode::Sum16: return Texts::tr("16bit sum");
        case ChecksumMode::Sum24: return Texts::tr("24bit sum");
        case ChecksumMode::Sum32: return Texts::tr("32bit sum");
        case ChecksumMode::Fixed: break;
        }
        return QString(settingChar(checkSize));
    };
    return Texts::tr("Port: %1\n").arg(shownPort(s.Port))
         + Texts::tr("Baudrate: B%1\n").arg(s.Baudrate)
         + Texts::tr("Timeout: %1\n").arg(s.SerialTimeout)
         + Texts::tr("CHKS: %1\n").arg(checksumText(s.CheckSize))
         + Texts::tr("ACK char: %1\n").arg(settingChar(s.AckChar))
         + Texts::tr("Checkvalue: %1\n").arg(s.CheckValue)
         + Texts::tr("Download Separator: %1\n").arg(settingChar(s.DownloadSeparator))
         + Texts::tr("Upload Separator: %1\n").arg(settingChar(s.UploadSeparator))
         + Texts::tr("Upload Command: %1\n").arg(settingChar(s.UploadCommand));
}

QString portLabelText(const LinkSettings &s, bool portChosen)
{
    const QString format = portChosen ? QStringLiteral("%1 Baud: %2") : QStringLiteral("%1  Baud: %2");
    return format.arg(shownPort(s.Port), QString::number(s.Baudrate));
}

QString shownPort(const QString &port)
{
    return port == SimulatedModulePort ? Texts::tr("Szimulált modul") : port;
}

QString portFromShown(const QString &text)
{
    return text == shownPort(SimulatedModulePort) ? SimulatedModulePort : text;
}

QString localTime(qint64 msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
}

} // namespace WindowText
