#include "filedialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace {
std::optional<QString> nextAnswer;
int nextFilter = 0;
FileDialog::Request last;

// The extension a filter names first: "vCard (*.vcf)" → "vcf"; none for "*".
QString suffixOf(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

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
    // A name without an extension takes the one of the filter chosen.
    const QString first = filter.section(QStringLiteral(";;"), 0, 0);
    const auto suffixFor = [first, suffix](const QString &chosen) { return chosen == first ? suffix : suffixOf(chosen); };
    if (std::optional<QString> answer = takeAnswer()) {
        const int chosen = std::exchange(nextFilter, 0);
        const QString added = suffixFor(filter.section(QStringLiteral(";;"), chosen, chosen));
        if (answer->isEmpty() || !QFileInfo(*answer).suffix().isEmpty() || added.isEmpty())
            return *answer;
        return *answer + QLatin1Char('.') + added;
    }
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixFor](const QString &chosen) { dialog.setDefaultSuffix(suffixFor(chosen)); });
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

void answerNext(const QString &name, int filter)
{
    nextAnswer = name;
    nextFilter = filter;
}

Request lastRequest()
{
    return last;
}

} // namespace FileDialog
