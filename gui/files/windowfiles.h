#pragma once

#include "core/form/formorigin.h"
#include "core/form/formvalues.h"
#include "windowphonebook.h"

#include <QObject>
#include <QString>

#include <functional>

class FormHistory;
class QLabel;
class QMainWindow;
class QWidget;

// The window's content files and where its form came from: New, Open and
// Save with their dialogs and boxes, the file named in the status bar and
// the title, and the question before unsaved changes would be lost. The
// file it names is its own; the window hears of it by signal.
class WindowFiles : public QObject
{
    Q_OBJECT

public:
    // `journalKeeps` says whether downloads are journaled, which the
    // question mentions.
    WindowFiles(QMainWindow *window, QWidget *form, QLabel *fileLabel, std::function<bool()> journalKeeps,
                FormHistory *history);

    void newFile();
    void open();
    // A file named on the command line or by the desktop.
    void openPath(const QString &path);
    // False when nothing was saved: refused, cancelled or not written.
    bool save();

    // Whether the form may give way to other content: at once when nothing
    // in it would be lost, else when the technician has saved it or says so.
    bool mayReplaceForm();
    // The form as it is now is what `source` holds, and a step of the
    // form's history.
    void setOrigin(FormOrigin::Source source, const QString &name, qint64 entry = 0);
    // The source in the status bar and the title bar, with the title's
    // mark while the form differs from it.
    void showOrigin();
    // The source as the status bar names it, "*" after it when the form
    // differs from it.
    QString originShown() const;
    FormOrigin &origin() { return m_origin; }
    // The form comes from no file any more (it was read from a module).
    void forgetFile() { nameFile({}, {}); }
    // The names of the form's numbers, which go with its content file.
    WindowPhoneBook &phoneBook() { return m_phoneBook; }

signals:
    // The content file's path and the name shown for it. A path chosen in
    // the Open dialog is named at once, its name only once it has loaded.
    void fileNamed(const QString &path, const QString &name);
    // The form holds new content: the record last built is not its record.
    void recordOutdated();
    // A box is about to take the focus from a field (true) or has closed
    // (false): the field's check must not run meanwhile.
    void fieldChecksHeld(bool held);

private:
    void nameFile(const QString &path, const QString &name);
    bool load(const QString &path);
    QString filter() const;
    QString dialogStart(bool withName) const;
    QString sourceShown() const;

    QMainWindow *m_window;
    QWidget *m_form;
    QLabel *m_fileLabel;
    std::function<bool()> m_journalKeeps;
    FormHistory *m_history;  // each new content is a step of it
    QString m_filePath;
    QString m_fileName;
    FormOrigin m_origin;
    WindowPhoneBook m_phoneBook;
    QString m_lastFile;  // the file last opened or saved
};
