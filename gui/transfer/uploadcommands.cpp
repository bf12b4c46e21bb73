#include "uploadcommands.h"

#include "answerprogress.h"
#include "core/journal/journalentry.h"
#include "core/link/lineinterrupt.h"
#include "core/link/seriallink.h"
#include "gui/dialogs/messagebox.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/texts/windowtexts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>

namespace {

// The translation context of the texts below.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Transfers)
};

// An exchange that Cancel or Escape ended was cancelled by the technician,
// not interrupted by the system; one cancelled as its answer came in is
// cancelled too. A port that was never had is said to be so.
void judge(ExchangeReport &report, const LineInterrupt &interrupt)
{
    const bool portFailed = report.ending == Ending::PortUnavailable || report.ending == Ending::LineSetupFailed;
    if (interrupt.isTriggered() && !portFailed)
        report.ending = Ending::Cancelled;
}

// The usual failure text, and under it why.
QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

// The end of an exchange into its journal entry.
void recordEnd(JournalEntry &entry, const ExchangeReport &report, const QByteArray &answer, AnswerError answerError = AnswerError::None,
               int fieldCount = 0)
{
    setEnding(entry, report, answerError, fieldCount);
    if (!answer.isEmpty())
        entry.recordSha256 = sha256Hex(answer);
}

// The port could not be had, or would not take the line settings.
void portFailure(QWidget *window, const QString &failure, const ExchangeReport &report)
{
    using SerialDevice::Access;
    const QString text = withReason(failure + Texts::tr("\nNem lehet megnyitni a portot."), WindowText::failureReason(report));
    if (report.ending == Ending::PortUnavailable
        && (report.port.access == Access::Busy || report.port.access == Access::NoPermission))
        qDebug().noquote() << WindowText::portState(report.port);
    Message::critical(window, Texts::tr("Hiba"), text);
}

} // namespace

std::unique_ptr<AnswerProgress> readupProgress(QWidget *window, LineInterrupt &interrupt)
{
    return std::make_unique<AnswerProgress>(window, Texts::tr("Kiolvasás"), Texts::tr("Kiolvasás..."), interrupt);
}

std::unique_ptr<AnswerProgress> verifyProgress(QWidget *window, LineInterrupt &interrupt)
{
    return std::make_unique<AnswerProgress>(window, Texts::tr("Ellenőrzés"), Texts::tr("Ellenőrzés..."), interrupt);
}

ReadupOutcome readupExchange(const LinkSettings &settings, const FormValues &current, UploadWatcher &watcher,
                             const LineInterrupt &interrupt, JournalEntry &entry)
{
    SerialLink link(&interrupt);
    ReadupOutcome outcome = readUp(link, settings, current, watcher);
    link.close();
    judge(outcome, interrupt);
    if (outcome.ending == Ending::BadAnswer)
        recordEnd(entry, outcome, outcome.answer, outcome.answerError, outcome.fieldCount);
    else
        recordEnd(entry, outcome, outcome.answer);
    if (outcome.ending == Ending::Done)
        setContent(entry, outcome.values);
    return outcome;
}

VerifyOutcome verifyExchange(SerialLink &link, LinkSettings &settings, const FormValues &form, UploadWatcher &watcher,
                             const LineInterrupt &interrupt, JournalEntry &entry)
{
    VerifyOutcome outcome = verify(link, settings, form, watcher);
    judge(outcome, interrupt);
    if (outcome.ending == Ending::Cancelled)
        link.close();
    if (outcome.ending == Ending::Mismatch) {
        recordEnd(entry, outcome, outcome.answer, outcome.comparison.error, outcome.comparison.fieldCount);
        entry.differences = outcome.comparison.differences;
    } else {
        recordEnd(entry, outcome, outcome.answer);
    }
    return outcome;
}

bool showReadup(QWidget *window, QWidget *central, QComboBox *operatorCombo, const ReadupOutcome &outcome)
{
    const QString failed = Texts::tr("Sikertelen kiolvasás.");
    switch (outcome.ending) {
    case Ending::Done:
        FieldMarks::clear(central);
        writeForm(central, outcome.values);
        operatorCombo->setCurrentIndex(operatorIndexForNumber(outcome.values.texts.first()));
        return true;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed:
        portFailure(window, failed, outcome);
        return false;
    case Ending::BadAnswer: {
        if (outcome.answerError == AnswerError::NoSeparator)
            qDebug("sep error");
        else if (outcome.answerError == AnswerError::WrongFieldCount)
            qDebug() << "dberror" << outcome.fieldCount << LineEditCount;
        const QString text = withReason(failed + Texts::tr("\nEllenőrizze az eszközt, és próbálja meg újra!"),
                                        WindowText::failureReason(outcome, outcome.answerError, outcome.fieldCount));
        Message::critical(window, Texts::tr("Hiba"), text);
        return false;
    }
    default:  // cancelled
        return false;
    }
}

void showVerify(QWidget *window, const QString &port, QWidget *central, const VerifyOutcome &outcome)
{
    const QString title = Texts::tr("Ellenőrzés");
    const QString failed = Texts::tr("Sikertelen ellenőrzés.");
    switch (outcome.ending) {
    case Ending::Refused:
        Message::critical(window, Texts::tr("Hiba"), Texts::tr("Sikertelen ellenőrzés. (ascii error)"));
        return;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed:
        portFailure(window, failed, outcome);
        return;
    case Ending::Done:
        Message::information(window, title,
                             port == SimulatedModulePort
                                 ? Texts::tr("Sikeres ellenőrzés.\nSzimulált modul: valódi eszköz nem lett ellenőrizve.")
                                 : Texts::tr("Sikeres ellenőrzés."));
        return;
    case Ending::Mismatch: {
        const QString text = withReason(failed + Texts::tr("\nTöltse be újra a konfigurációt!"),
                                        WindowText::failureReason(outcome, outcome.comparison.error, outcome.comparison.fieldCount));
        for (const FieldDifference &difference : outcome.comparison.differences)
            FieldMarks::mark(central, difference.name, WindowText::moduleHolds(difference));
        Message::critical(window, title, text, WindowText::verifyDetails(outcome.comparison));
        return;
    }
    default:  // cancelled
        return;
    }
}
