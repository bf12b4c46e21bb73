#include "filedialog.h"

#include <QFileDialog>

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
                     const QString &filter)
{
    last = {caption, dir, filter};
    if (std::optional<QString> answer = takeAnswer())
        return *answer;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
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
