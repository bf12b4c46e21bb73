#include "uploadcommands.h"

#include "form/formbinding.h"
#include "form/messagebox.h"
#include "form/windowtexts.h"
#include "transfer/moduleoperations.h"
#include "transfer/screenpace.h"
#include "transfer/seriallink.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QProgressDialog>

#include <memory>

namespace {

const QString ErrorTitle = QStringLiteral("Hiba");

// The read-up's and verify's progress dialog, made once the port is ours.
// It stays up until the outcome is known: it neither hides nor starts again at
// its end, however long the answer. One that has not shown itself by the time
// the answer is in never shows: the outcome's box is then the only window.
class AnswerProgress : public UploadWatcher
{
public:
    AnswerProgress(QWidget *window, const QString &label) : m_window(window), m_label(label) {}

    void started() override
    {
        m_dialog = std::make_unique<QProgressDialog>(m_label, QStringLiteral("Megszakítás"), 0, AnswerBytes, m_window);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
    }

    // One step per byte, short of the end until the answer is complete; the
    // bar is redrawn, and the window served, at the screen's pace.
    bool received(int bytes) override
    {
        if (m_dialog->wasCanceled())
            return false;
        if (!m_pace.due())
            return true;
        m_dialog->setValue(std::min(bytes, AnswerBytes - 1));
        QCoreApplication::processEvents();  // setValue does so only once the dialog shows
        return !m_dialog->wasCanceled();
    }

    // The answer is complete: a full bar, if the bar is up at all.
    void finish()
    {
        if (m_dialog && m_dialog->isVisible())
            m_dialog->setValue(AnswerBytes);
        else
            m_dialog.reset();
    }

    void close() { m_dialog.reset(); }

private:
    QWidget *m_window;
    QString m_label;
    std::unique_ptr<QProgressDialog> m_dialog;
    ScreenPace m_pace;
};

// The port could not be had, or would not take the line settings.
void portFailure(QWidget *window, const QString &failure, const ExchangeReport &report)
{
    using SerialDevice::Access;
    if (report.ending == Ending::PortUnavailable
        && (report.port.access == Access::Busy || report.port.access == Access::NoPermission))
        qDebug().noquote() << WindowText::portState(report.port);
    Message::critical(window, ErrorTitle, failure + QStringLiteral("\nNem lehet megnyitni a portot."));
}

} // namespace

void readupFromModule(QWidget *window, const LinkSettings &settings, QWidget *central,
                      QComboBox *operatorCombo)
{
    AnswerProgress progress(window, QStringLiteral("Kiolvasás..."));
    SerialLink link;
    const ReadupOutcome outcome = readUp(link, settings, readForm(central), progress);
    link.close();
    progress.close();
    switch (outcome.ending) {
    case Ending::Done:
        writeForm(central, outcome.values);
        operatorCombo->setCurrentIndex(operatorIndexForNumber(outcome.values.texts.first()));
        return;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed:
        portFailure(window, QStringLiteral("Sikertelen kiolvasás."), outcome);
        return;
    case Ending::BadAnswer:
        if (outcome.answerError == AnswerError::NoSeparator)
            qDebug("sep error");
        else if (outcome.answerError == AnswerError::WrongFieldCount)
            qDebug() << "dberror" << outcome.fieldCount << LineEditCount;
        Message::critical(window, ErrorTitle,
                          QStringLiteral("Sikertelen kiolvasás.\nEllenőrizze az eszközt, és próbálja meg újra!"));
        return;
    default:  // cancelled
        return;
    }
}

void verifyAgainstModule(QWidget *window, LinkSettings &settings, QWidget *central)
{
    // The port stays ours, and the bar up, until the technician has read the
    // outcome.
    AnswerProgress progress(window, QStringLiteral("Ellenőrzés..."));
    SerialLink link;
    const VerifyOutcome outcome = verify(link, settings, readForm(central), progress);
    progress.finish();
    const QString title = QStringLiteral("Ellenőrzés");
    switch (outcome.ending) {
    case Ending::Refused:
        Message::critical(window, ErrorTitle, QStringLiteral("Sikertelen ellenőrzés. (ascii error)"));
        return;
    case Ending::PortUnavailable:
    case Ending::LineSetupFailed:
        portFailure(window, QStringLiteral("Sikertelen ellenőrzés."), outcome);
        return;
    case Ending::Done:
        Message::information(window, title,
                             settings.Port == SimulatedModulePort
                                 ? QStringLiteral("Sikeres ellenőrzés.\nSzimulált modul: valódi eszköz nem lett ellenőrizve.")
                                 : QStringLiteral("Sikeres ellenőrzés."));
        return;
    case Ending::Mismatch:
        Message::critical(window, title, QStringLiteral("Sikertelen ellenőrzés.\nTöltse be újra a konfigurációt!"),
                          WindowText::verifyDetails(outcome.comparison));
        return;
    default:  // cancelled
        return;
    }
}
