#pragma once

#include "core/form/formorigin.h"
#include "core/form/formvalues.h"
#include "core/journal/journallocation.h"
#include "core/settings/linksettings.h"
#include "core/port/portscan.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class InputHold;
class JournalRecord;
struct JournalEntry;
class TransferRunner;
class WindowJournal;
class ModuleSimulator;
class QLabel;
struct ExchangeReport;
struct RecordResult;
namespace Ui { class MainWindow; }

// The one window: the configuration form, the menus that act on it and the
// status bar. The form's widgets are the data; each slot reads them into plain
// values, hands those to the subsystem that owns the rule, and shows the
// outcome.
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
    void connectActions();
    void createStatusLabels();
    void loadFile(const QString &path);
    bool startSimulatedModule();
    bool checkFields();
    bool checkEditedField();
    void showJournal();
    void showStation();
    void showPort();
    bool startTransfer();
    void endTransfer();
    JournalRecord beginRecord(const JournalEntry &entry);
    void finishRecord(JournalRecord &record);
    void tellJournalFailure();
    bool saveForm();
    void setOrigin(FormOrigin::Source source, const QString &name, qint64 entry = 0);
    void showOrigin();
    bool mayReplaceForm();
    void reportRefusal(const RecordResult &refusal);
    void reportAbandonedDownload(const ExchangeReport &report);
    void showTool(QPointer<QWidget> &tool, const std::function<QWidget *()> &make);
    QString contentFileFilter() const;
    QString fileDialogStart(bool withName) const;

    std::unique_ptr<Ui::MainWindow> ui;
    LinkSettings m_settings;
    QLabel *portLabel = nullptr;
    QLabel *fileLabel = nullptr;
    QLabel *noticeLabel = nullptr;
    bool m_checkingFields = false;
    bool m_applyingColours = false;
    bool m_portChosen = false;
    DeviceLookup m_deviceLookup;
    std::unique_ptr<ModuleSimulator> m_simulatedModule;  // runs once chosen, until the window goes
    std::unique_ptr<TransferRunner> m_runner;  // every transfer, and the journal, off the window's thread
    std::unique_ptr<WindowJournal> m_journal;  // opened for the first transfer
    std::unique_ptr<InputHold> m_inputHold;    // while a transfer runs
    FormOrigin m_origin;                 // where the form's content came from, and what is kept
    QString m_lastFile;                  // the file last opened or saved
    QPointer<QWidget> m_about;           // Help and About, brought back rather than opened again
    QPointer<QWidget> m_help;
    QPointer<QWidget> m_station;         // one station, brought back to the front
};
