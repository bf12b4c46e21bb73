#pragma once

#include "core/journal/journallocation.h"
#include "core/settings/linksettings.h"
#include "core/port/portscan.h"

#include <QMainWindow>

#include <memory>

class FormHistory;
class JournalLooks;
class ModuleSimulator;
class QLabel;
class ToolWindows;
class WindowFiles;
class WindowJobs;
class WindowTransfers;
namespace Ui { class MainWindow; }

// The one window: the configuration form, the menus that act on it, the
// settings they change, the fields' checks and the status bar. Content files
// and the form's origin, transfers and the journal, and the tool windows each
// have a class of their own that the window hands its slots to.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Starts from `settings`; the program itself always starts from the defaults.
    explicit MainWindow(QWidget *parent = nullptr, const LinkSettings &settings = {});
    ~MainWindow() override;

    LinkSettings &linkSettings() { return m_settings; }
    const Ui::MainWindow &form() const { return *ui; }
    // Where the port dialog looks for serial devices.
    void setDeviceLookup(const DeviceLookup &lookup) { m_deviceLookup = lookup; }
    // Where transfers are recorded; the program sets it from --journal.
    void setJournalLocation(const JournalLocation &location);
    // The port kept from the last session: the window starts on it.
    void startOnPort(const QString &port);
    // The port chosen in this session, to keep for the next; empty when
    // none was, or when it was the simulated module.
    QString chosenPort() const;
    // Opens a content file as File → Megnyitás does once a file is chosen:
    // a file named on the command line or by the desktop.
    void openPath(const QString &path);
    // Whether a job (a transfer, a look at the journal) is under way, from
    // its start to its last box. A transfer slot starts its job and returns.
    bool isBusy() const;

signals:
    // The job under way has ended, boxes and all.
    void idle();

public slots:
    void newfile();
    void openfile();
    void save();
    void saveas();
    void verify_func();
    void show_port();
    void setCheck();
    void setFixChar();
    void setAckChar();
    void setSeparators();
    void setUploadCommand();
    void setChks8();
    void setChks16();
    void setChks24();
    void setChks32();
    void download();
    void readup();
    void show_info();
    void nevjegy();
    void contents();
    void input_check();
    void smskpSelect();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectParts();
    void connectActions();
    void listRecentFiles();
    void createStatusLabels();
    bool startSimulatedModule();
    bool checkFields();
    bool checkEditedField();
    void showJournal();
    void showChanges();
    void printSheet();
    void importPhoneNumbers();
    void exportPhoneNumbers();
    void showPhoneBook();
    void showStation();
    void showPort();

    std::unique_ptr<Ui::MainWindow> ui;
    LinkSettings m_settings;
    QLabel *portLabel = nullptr;
    QLabel *fileLabel = nullptr;
    QLabel *noticeLabel = nullptr;
    bool m_checkingFields = false;
    int m_fieldChecksHeld = 0;  // boxes of the window's parts that take a field's focus
    bool m_applyingColours = false;
    bool m_portChosen = false;
    DeviceLookup m_deviceLookup;
    std::unique_ptr<ModuleSimulator> m_simulatedModule;  // runs once chosen, until the window goes
    std::unique_ptr<ToolWindows> m_tools;
    FormHistory *m_history = nullptr;             // the form's undo history
    std::unique_ptr<WindowFiles> m_files;          // content files and the form's origin
    std::unique_ptr<WindowJobs> m_jobs;            // the runner and the journal: one job at a time
    std::unique_ptr<WindowTransfers> m_transfers;
    std::unique_ptr<JournalLooks> m_looks;
};
