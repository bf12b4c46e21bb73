#pragma once

#include "gui/transfer/windowjournal.h"

#include <QCoreApplication>

#include <optional>

class QMainWindow;
class QWidget;
class WindowFiles;
class WindowJobs;
struct FormValues;
struct JournalEntry;
struct LinkSettings;
namespace Ui { class MainWindow; }

// The window's looks at the journal: its view, one entry of which may become
// the form, and what changed in the form since the last download into a
// module of its identifier. Each is a job of the window's: the journal is
// read on the transfer runner's thread and the answer shown when it comes.
class JournalLooks
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    JournalLooks(QMainWindow *window, Ui::MainWindow &ui, LinkSettings &settings, WindowFiles &files, WindowJobs &jobs);

    // The journal's entries; one chosen becomes the form.
    void showJournal();
    // The fields marked, and listed then and now.
    void showChanges();

private:
    using LastDownload = WindowJournal::Use::LastDownload;
    void openView();
    void load(const JournalEntry &chosen);
    void showChangesSince(const FormValues &now, const QString &moduleId, const LastDownload &found, bool told);

    QMainWindow *m_window;
    Ui::MainWindow &ui;
    LinkSettings &m_settings;
    WindowFiles &m_files;
    WindowJobs &m_jobs;
};
