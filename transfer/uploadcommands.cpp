#include "uploadcommands.h"

#include "form/messagebox.h"
#include "form/formbinding.h"
#include "transfer/contentrecord.h"
#include "transfer/moduleanswer.h"
#include "transfer/moduleexchange.h"
#include "transfer/screenpace.h"
#include "transfer/seriallink.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QProgressDialog>

#include <memory>

namespace {

constexpr int ProgressRange = 750;
const QString ErrorTitle = QStringLiteral("Hiba");

// The bar stays up until the outcome is known: it neither hides nor starts
// again at its end, however long the answer.
std::unique_ptr<QProgressDialog> makeProgress(QWidget *window, const QString &label)
{
    auto progress = std::make_unique<QProgressDialog>(label, QStringLiteral("Megszakítás"), 0,
                                                      ProgressRange, window);
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    return progress;
}

// One step per byte read, short of the end until the answer is complete.
class AnswerProgress
{
public:
    explicit AnswerProgress(QProgressDialog &dialog) : m_dialog(dialog) {}

    // False once the technician has cancelled.
    bool step()
    {
        if (m_dialog.wasCanceled())
            return false;
        ++m_reads;
        if (!m_pace.due())  // the bar is redrawn, and the window served, at the screen's pace
            return true;
        m_dialog.setValue(std::min(m_reads, ProgressRange - 1));
        QCoreApplication::processEvents();  // setValue does so only once the dialog shows
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog &m_dialog;
    int m_reads = 0;
    ScreenPace m_pace;
};

// The port, the progress dialog and the module's answer of one read-up or
// verify; the port is released when this goes.
struct ModuleRead
{
    SerialLink link;
    std::unique_ptr<QProgressDialog> progress;
    UploadAnswer answer;
};

// Opens the port and collects the module's answer behind the progress dialog. False when the port could not be opened (and the user was told,
// under `failure`) or when the user cancelled.
bool readModule(ModuleRead &read, QWidget *window, const LinkSettings &settings, const QString &failure,
                const QString &label)
{
    if (read.link.open(settings.Port, UploadReadTimeoutMs) != SerialLink::OpenStatus::Opened) {
        Message::critical(window, ErrorTitle, failure + QStringLiteral("\nNem lehet megnyitni a portot."));
        return false;
    }
    read.progress = makeProgress(window, label);
    AnswerProgress progress(*read.progress);
    read.answer = receiveUploadAnswer(read.link, settings.UploadCommand, [&progress] { return progress.step(); });
    if (read.answer.cancelled)
        return false;
    read.progress->setValue(ProgressRange);
    return true;
}

// What the box's details say: each field the module holds otherwise, or why
// its answer could not be read as fields.
QString differenceDetails(const AnswerComparison &comparison)
{
    switch (comparison.error) {
    case AnswerError::NoSeparator:
        return QStringLiteral("A modul nem válaszolt.");
    case AnswerError::WrongFieldCount:
        return QStringLiteral("A modul %1 mezőt küldött %2 helyett.").arg(comparison.fieldCount).arg(LineEditCount);
    case AnswerError::BadGroup:
    case AnswerError::None:
        break;
    }
    QStringList lines;
    for (const FieldDifference &difference : comparison.differences)
        lines << describe(difference, QStringLiteral("űrlap"), QStringLiteral("modul"));
    return lines.isEmpty() ? QStringLiteral("A modul válasza nem egyezik az űrlappal.") : lines.join(QLatin1Char('\n'));
}

} // namespace

void readupFromModule(QWidget *window, const LinkSettings &settings, QWidget *central,
                      QComboBox *operatorCombo)
{
    ModuleRead read;
    if (!readModule(read, window, settings, QStringLiteral("Sikertelen kiolvasás."), QStringLiteral("Kiolvasás...")))
        return;
    read.link.close();

    const ReadupResult result = readModuleAnswer(answerText(read.answer.bytes), readForm(central));
    switch (result.error) {
    case AnswerError::NoSeparator:
        qDebug("sep error");
        break;
    case AnswerError::WrongFieldCount:
        qDebug() << "dberror" << result.fieldCount << LineEditCount;
        break;
    case AnswerError::BadGroup:
    case AnswerError::None:
        break;
    }
    if (result.error != AnswerError::None) {
        Message::critical(window, ErrorTitle,
                          QStringLiteral("Sikertelen kiolvasás.\nEllenőrizze az eszközt, és próbálja meg újra!"));
        return;
    }
    writeForm(central, result.values);
    operatorCombo->setCurrentIndex(operatorIndexForNumber(result.values.texts.first()));
}

void verifyAgainstModule(QWidget *window, LinkSettings &settings, QWidget *central)
{
    const RecordResult record = buildContentRecord(readForm(central), settings, RecordPurpose::Verify);
    if (record.error != RecordError::None) {
        Message::critical(window, ErrorTitle, QStringLiteral("Sikertelen ellenőrzés. (ascii error)"));
        return;
    }
    // The port stays open, and the bar shown, until the user has read the outcome.
    ModuleRead read;
    if (!readModule(read, window, settings, QStringLiteral("Sikertelen ellenőrzés."),
                    QStringLiteral("Ellenőrzés...")))
        return;

    const QString title = QStringLiteral("Ellenőrzés");
    const QString answer = answerText(read.answer.bytes);
    if (answer == settings.RecordText) {
        Message::information(window, title,
                             settings.Port == SimulatedModulePort
                                 ? QStringLiteral("Sikeres ellenőrzés.\nSzimulált modul: valódi eszköz nem lett ellenőrizve.")
                                 : QStringLiteral("Sikeres ellenőrzés."));
        return;
    }
    Message::critical(window, title, QStringLiteral("Sikertelen ellenőrzés.\nTöltse be újra a konfigurációt!"),
                      differenceDetails(compareWithAnswer(readForm(central), answer)));
}
