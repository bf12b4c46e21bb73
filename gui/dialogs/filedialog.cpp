#include "filedialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include <optional>

namespace {
std::optional<QString> nextAnswer;
FileDialog::Request last;

std::optional<QString> takeAnswer()
{
    std::optional<QString> answer;
    answer.swap(nextAnswer);
    return answer;
}
} // namespace

namespace FileDialog {

QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter, const QString &suffix)
{
    last = {caption, dir, filter};
    if (std::optional<QString> answer = takeAnswer()) {
        if (answer->isEmpty() || !QFileInfo(*answer).suffix().isEmpty())
            return *answer;
        return *answer + QLatin1Char('.') + suffix;
    }
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    const QString first = filter.section(QStringLiteral(";;"), 0, 0);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, first, suffix](const QString &chosen) { dialog.setDefaultSuffix(chosen == first ? suffix : QString()); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter)
{
    last = {caption, dir, filter};
    if (std::optional<QString> answer = takeAnswer())
        return *answer;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

void answerNext(const QString &name)
{
    nextAnswer = name;
}

Request lastRequest()
{
    return last;
}

} // namespace FileDialog
