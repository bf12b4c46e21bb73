#pragma once

#include <QString>

class QWidget;

// The file dialogs of the content-file commands. Tests answer the next
// dialog in advance, since a platform file dialog cannot be driven reliably.
namespace FileDialog {

QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter);
QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter);

// The next dialog returns `name` at once without showing itself; an empty
// name stands for Cancel.
void answerNext(const QString &name);

// Where the last dialog started and what it offered, for a test to read.
struct Request
{
    QString caption;
    QString dir;
    QString filter;
};
Request lastRequest();

} // namespace FileDialog
