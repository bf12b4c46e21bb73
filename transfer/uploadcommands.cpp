#include "uploadcommands.h"

#include "app/messagebox.h"
#include "form/formbinding.h"
#include "transfer/contentrecord.h"
#include "transfer/moduleanswer.h"
#include "transfer/moduleexchange.h"
#include "transfer/seriallink.h"

#include <QComboBox>
#include <QDebug>
#include <QProgressDialog>

#include <memory>

namespace {

constexpr int ProgressRange = 750;
const QString ErrorTitle = QStringLiteral("Hiba");

std::unique_ptr<QProgressDialog> makeProgress(QWidget *window, const QString &label)
{
    auto progress = std::make_unique<QProgressDialog>(label, QStringLiteral("Megszakítás"), 0,
                                                      ProgressRange, window);
    progress->setWindowModality(Qt::WindowModal);
    return progress;
}

// Collects the module's answer, moving the bar one step per read and
// stopping when the user cancels.
UploadAnswer receiveWithProgress(SerialLink &link, char uploadCommand, QProgressDialog &progress)
{
    UploadAnswer answer = receiveUploadAnswer(link, uploadCommand, [&progress] {
        if (progress.wasCanceled())
            return false;
        progress.setValue(progress.value() + 1);
        return true;
    });
    if (!answer.cancelled)
        progress.setValue(ProgressRange);
    return answer;
}

} // namespace

void readupFromModule(QWidget *window, const LinkSettings &settings, QWidget *central,
                      QComboBox *operatorCombo)
{
    SerialLink link;
    if (link.open(settings.Port, UploadReadTimeoutMs) != SerialLink::OpenStatus::Opened) {
        Message::critical(window, ErrorTitle,
                          QStringLiteral("Sikertelen kiolvasás.\nNem lehet megnyitni a portot."));
        return;
    }
    const std::unique_ptr<QProgressDialog> progress = makeProgress(window, QStringLiteral("Kiolvasás..."));
    const UploadAnswer answer = receiveWithProgress(link, settings.UploadCommand, *progress);
    link.close();
    if (answer.cancelled)
        return;

    const ReadupResult result = readModuleAnswer(answerText(answer.bytes), readForm(central));
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
    SerialLink link;
    if (link.open(settings.Port, UploadReadTimeoutMs) != SerialLink::OpenStatus::Opened) {
        Message::critical(window, ErrorTitle,
                          QStringLiteral("Sikertelen ellenőrzés.\nNem lehet megnyitni a portot."));
        return;
    }
    const std::unique_ptr<QProgressDialog> progress = makeProgress(window, QStringLiteral("Ellenőrzés..."));
    const UploadAnswer answer = receiveWithProgress(link, settings.UploadCommand, *progress);
    if (answer.cancelled)
        return;

    const QString title = QStringLiteral("Ellenőrzés");
    if (answerText(answer.bytes) == settings.RecordText)
        Message::information(window, title, QStringLiteral("Sikeres ellenőrzés."));
    else
        Message::critical(window, title,
                          QStringLiteral("Sikertelen ellenőrzés.\nTöltse be újra a konfigurációt!"));
}
