#pragma once

#include "gui/transfer/windowjournal.h"

#include <QObject>

#include <optional>

class QComboBox;
class QMainWindow;
class QWidget;
class WindowFiles;
class WindowJobs;
struct FormValues;
struct JournalEntry;

// The window's looks at the journal: its view, one entry of which may become
// the form, and what changed in the form since the last download into a
// module of its identifier. Each is a job of the window's: the journal is
// read on the transfer runner's thread and the answer shown when it comes.
class JournalLooks : public QObject
{
    Q_OBJECT

public:
    // `files` is asked whether the form may give way to an entry.
    JournalLooks(QMainWindow *window, QWidget *form, QComboBox *operators, WindowFiles &files, WindowJobs &jobs);

    // The journal's entries; one chosen becomes the form.
    void showJournal();
    // The fields marked, and listed then and now.
    void showChanges();

signals:
    // The form holds what journal entry `entry` downloaded.
    void formFromJournal(qint64 entry);

private:
    using LastDownload = WindowJournal::Use::LastDownload;
    void openView();
    void load(const JournalEntry &chosen);
    void showChangesSince(const FormValues &now, const QString &moduleId, const LastDownload &found, bool told);

    QMainWindow *m_window;
    QWidget *m_form;
    QComboBox *m_operators;
    WindowFiles &m_files;
    WindowJobs &m_jobs;
};
