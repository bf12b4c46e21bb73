#include "uploadcommands.h"

#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/dialogs/messagebox.h"
#include "gui/texts/windowtexts.h"
#include "core/journal/journalentry.h"
#include "core/operations/moduleoperations.h"
#include "screenpace.h"
#include "core/link/lineinterrupt.h"
#include "core/link/seriallink.h"
#include "core/operations/transferrunner.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QProgressDialog>
#include <QTimer>

#include <memory>

namespace {

// The translation context of the texts below.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Transfers)
};

std::function<void(int)> &barObserver()
{
    static std::function<void(int)> observer;
    return observer;
}

void showValue(QProgressDialog &dialog, int value)
{
    dialog.setValue(value);
    if (barObserver())
        barObserver()(value);
}

// The read-up's and verify's progress dialog, made once the port is ours.
// The exchange runs on the transfer runner's thread and tells its progress
// here, where the dialog lives; Cancel and Escape end it before its next
// byte. The dialog stays up until the outcome is known: it neither hides nor
// starts again at its end, however long the answer. One that has not shown
// itself by the time the answer is in never shows: the outcome's box is then
// the only window.
class AnswerProgress : public UploadWatcher
{
public:
    AnswerProgress(QWidget *window, const QString &title, const QString &label)
        : m_window(window), m_title(title), m_label(label) {}

    const LineInterrupt &interrupt() const { return m_interrupt; }

    // On the runner's thread.
    void started() override
    {
        TransferRunner::tell(&m_here, [this] { show(); });
    }
    bool received(int bytes) override
    {
        TransferRunner::tell(&m_here, [this, bytes] { advance(bytes); });
        return !m_interrupt.isTriggered();
    }

    // An exchange that Cancel or Escape ended was cancelled by the
    // technician, not interrupted by the system.
    void judge(ExchangeReport &report) const
    {
        if (report.ending == Ending::Interrupted && m_interrupt.isTriggered())
            report.ending = Ending::Cancelled;
    }

    // The answer is complete: a full bar, if the bar is up at all.
    void finish()
    {
        if (m_dialog && m_dialog->isVisible())
            showValue(*m_dialog, AnswerBytes);
        else
            m_dialog.reset();
    }

    void close() { m_dialog.reset(); }

private:
    void show()
    {
        m_dialog = std::make_unique<QProgressDialog>(m_label, Texts::tr("Megszakítás"), 0, AnswerBytes, m_window);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setWindowTitle(m_title);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        // cancel() alone, as Escape has it, sends no signal: the dialog is
        // asked, and asked again while the line is quiet.
        QObject::connect(m_dialog.get(), &QProgressDialog::canceled, &m_here, [this] { m_interrupt.trigger(); });
        QObject::connect(&m_watch, &QTimer::timeout, &m_here, [this] { noticeCancel(); });
        m_watch.start(CancelWatchMs);
    }

    void noticeCancel()
    {
        if (m_dialog && m_dialog->wasCanceled())
            m_interrupt.trigger();
    }

    // One step per byte, short of the end until the answer is complete; the
    // bar is redrawn at the screen's pace.
    void advance(int bytes)
    {
        noticeCancel();
        if (m_dialog && m_pace.due() && !m_dialog->wasCanceled())
            showValue(*m_dialog, std::min(bytes, AnswerBytes - 1));
    }

    static constexpr int CancelWatchMs = 20;

    QWidget *m_window;
    QString m_title;
    QString m_label;
    std::unique_ptr<QProgressDialog> m_dialog;
    QObject m_here;  // where the runner's news arrive; none after this is gone
    QTimer m_watch;
    LineInterrupt m_interrupt;
    ScreenPace m_pace;
};

// The usual failure text, and under it why.
QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

// The end of an exchange into its journal entry, with what the window says of it.
void recordEnd(JournalEntry &entry, const ExchangeReport &report, const QByteArray &answer, AnswerError answerError = AnswerError::None,
               int fieldCount = 0)
{
    setEnding(entry, report, answerError, fieldCount);
    if (!answer.isEmpty())
        entry.recordSha256 = sha256Hex(answer);
}

// The port could not be had, or would not take the line settings.
void portFailure(QWidget *window, const QString &failure, const ExchangeReport &report, JournalEntry &entry)
{
    using SerialDevice::Access;
    const QString text = withReason(failure + Texts::tr("\nNem lehet megnyitni a portot."), WindowText::failureReason(report));
    recordEnd(entry, report, {});
    if (report.ending == Ending::PortUnavailable
        && (report.port.access == Access::Busy || report.port.access == Access::NoPermission))
        qDebug().noquote() << WindowText::portState(report.port);
    Message::critical(window, Texts::tr("Hiba"), text);
}

} // namespace

void readupFromModule(QWidget *window, TransferRunner &runner, const LinkSettings &settings, QWidget *central,
                      QComboBox *operatorCombo, JournalEntry &entry)
{
    AnswerProgress progress(window, Texts::tr("Kiolvasás"), Texts::tr("Kiolvasás..."));
    const FormValues current = readForm(central);
    ReadupOutcome outcome;
    runner.run([&] {
        SerialLink link(&progress.interrupt());
        outcome = readUp(link, settings, current, progress);
    });
    progress.judge(outcome);
    progress.close();
    const QString failed = Texts::tr("Sikertelen kiolvasás.");
    switch (outcome.ending) {
    case Ending::Done:
        recordEnd(entry, outcome, outcome.answer);
        setContent(entry, outcome.values);
        writeForm(central, outcome.values);
        operatorCombo->setCurrentIndex(operatorIndexForNumber(outcome.values.texts.first()));
        return;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed:
        portFailure(window, failed, outcome, entry);
        return;
    case Ending::BadAnswer: {
        if (outcome.answerError == AnswerError::NoSeparator)
            qDebug("sep error");
        else if (outcome.answerError == AnswerError::WrongFieldCount)
            qDebug() << "dberror" << outcome.fieldCount << LineEditCount;
        const QString text = withReason(failed + Texts::tr("\nEllenőrizze az eszközt, és próbálja meg újra!"),
                                        WindowText::failureReason(outcome, outcome.answerError, outcome.fieldCount));
        recordEnd(entry, outcome, outcome.answer, outcome.answerError, outcome.fieldCount);
        Message::critical(window, Texts::tr("Hiba"), text);
        return;
    }
    default:  // cancelled
        recordEnd(entry, outcome, outcome.answer);
        return;
    }
}

void verifyAgainstModule(QWidget *window, TransferRunner &runner, LinkSettings &settings, QWidget *central, JournalEntry &entry)
{
    // The port stays ours, and the bar up, until the technician has read the
    // outcome.
    AnswerProgress progress(window, Texts::tr("Ellenőrzés"), Texts::tr("Ellenőrzés..."));
    SerialLink link(&progress.interrupt());
    const FormValues form = readForm(central);
    LinkSettings used = settings;
    VerifyOutcome outcome;
    runner.run([&] { outcome = verify(link, used, form, progress); });
    progress.judge(outcome);
    settings.RecordText = used.RecordText;
    progress.finish();
    const QString title = Texts::tr("Ellenőrzés");
    const QString failed = Texts::tr("Sikertelen ellenőrzés.");
    switch (outcome.ending) {
    case Ending::Refused: {
        const QString text = Texts::tr("Sikertelen ellenőrzés. (ascii error)");
        recordEnd(entry, outcome, outcome.answer);
        Message::critical(window, Texts::tr("Hiba"), text);
        return;
    }
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed:
        portFailure(window, failed, outcome, entry);
        return;
    case Ending::Done: {
        const QString text = settings.Port == SimulatedModulePort
                               ? Texts::tr("Sikeres ellenőrzés.\nSzimulált modul: valódi eszköz nem lett ellenőrizve.")
                               : Texts::tr("Sikeres ellenőrzés.");
        recordEnd(entry, outcome, outcome.answer);
        Message::information(window, title, text);
        return;
    }
    case Ending::Mismatch: {
        const QString text = withReason(failed + Texts::tr("\nTöltse be újra a konfigurációt!"),
                                        WindowText::failureReason(outcome, outcome.comparison.error, outcome.comparison.fieldCount));
        recordEnd(entry, outcome, outcome.answer, outcome.comparison.error, outcome.comparison.fieldCount);
        entry.differences = outcome.comparison.differences;
        for (const FieldDifference &difference : outcome.comparison.differences)
            FieldMarks::mark(central, difference.name, WindowText::moduleHolds(difference));
        Message::critical(window, title, text, WindowText::verifyDetails(outcome.comparison));
        return;
    }
    default:  // cancelled
        recordEnd(entry, outcome, outcome.answer);
        return;
    }
}

void setAnswerBarObserver(std::function<void(int value)> observer)
{
    barObserver() = std::move(observer);
}
