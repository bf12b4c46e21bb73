#pragma once

#include <QString>

class QWidget;

// The file dialogs of the content-file commands. Tests may answer the next
// dialog in advance; the answer then goes through the same rules.
namespace FileDialog {

// A name typed without an extension gets `suffix` while the first filter is
// chosen, from the dialog itself, so that its question about replacing a
// file sees the name that will be written; under any other filter the name
// is kept as typed.
QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter, const QString &suffix);
QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter);

// The next dialog returns `name` at once without showing itself, as if it
// had been typed under the first filter; an empty name stands for Cancel.
// With the filter of that place in the list chosen (the first by default).
void answerNext(const QString &name, int filter = 0);

// Where the last dialog started and what it offered, for a test to read.
struct Request
{
    QString caption;
    QString dir;
    QString filter;
};
Request lastRequest();

} // namespace FileDialog
