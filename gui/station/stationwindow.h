#pragma once

#include "benchcall.h"
#include "core/label/labelcontent.h"
#include "stationchoices.h"

#include "core/form/formvalues.h"
#include "core/journal/journallocation.h"
#include "core/port/portscan.h"
#include "core/journal/journal.h"
#include "core/provisioning/unitclaim.h"
#include "core/provisioning/unitstatus.h"
#include "core/settings/linksettings.h"

#include <QWidget>

#include <memory>
#include <vector>

class PortRunner;
class PortTile;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;
class SharedJournal;
class StationReader;
struct PortTurn;

// Eszköz → Állomás: several modules side by side, driven by a manifest.
// The template (the form as it was when the station opened), the manifest,
// the ports and the backup folder are chosen first; then each port gets a
// tile, and the technician swaps modules and presses the tile's key (1–9,
// or Space on the focused tile) for the next unit; F5 starts every waiting
// port, Escape stops them all. Every unit is provisioned as the command
// line's provision does it, through the same core, into the same journal.
class StationWindow : public QWidget
{
    Q_OBJECT

public:
    // How often the overview looks at the journal without being asked.
    static constexpr int OverviewEveryMs = 2000;

    StationWindow(const FormValues &templateForm, const LinkSettings &settings, const JournalLocation &journal,
                  const DeviceLookup &lookup, QWidget *parent);
    ~StationWindow() override;

    // The station set up for `ports`; false, after a box that says why,
    // when the manifest or the journal does not allow it. No backup folder:
    // new modules, written without a backup.
    bool open(const QString &manifestPath, const QStringList &ports, const QString &backupFolder);
    int portCount() const { return int(m_runners.size()); }
    PortTile *tile(int port) const { return m_tiles[size_t(port)]; }
    bool isBusy() const;
    QTableWidget *unitTable() const { return m_table; }
    // A PDF label for each unit proven from now on, in `folder`.
    void setLabelFolder(const QString &folder);
    // A printed label for each unit proven from now on, on that printer.
    void setLabelPrinter(const QString &printerName);
    BenchCall &benchCall() { return *m_call; }

public slots:
    void startPort(int port);
    void startAll();
    void stopAll();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createSetup();
    void addTemplateRow(QFormLayout *form);
    void addLabelRows(QFormLayout *form);
    void addCallRow(QFormLayout *form);
    void showWaiting();
    void applyChoices(const StationChoices &choices);
    StationChoices chosen() const;
    void closeBatch();
    void stopReader();
    QString labelsShown() const;
    void createShortcuts();
    bool readManifest(const QString &path);
    void finishTurn(int port, const PortTurn &turn);
    void refreshUnits();
    void showUnits(bool read, const QList<UnitStatus> &statuses, const QHash<QString, Journal::Proven> &proven);
    void showCounts(const QList<UnitStatus> &statuses);
    void startReader();
    void openFromSetup();
    void labelProven(int port, const PortTurn &turn);
    void labelRound();
    void printSheetNow();
    void showSheet();
    void printChosenLabel();
    void printEntryLabel(const std::optional<JournalEntry> &proven);
    void chooseLabelPrinter();

    FormValues m_template;
    LinkSettings m_settings;
    JournalLocation m_location;
    DeviceLookup m_lookup;
    Batch m_batch;
    QStringList m_ports;
    QList<QList<int>> m_candidates;
    std::unique_ptr<SharedJournal> m_journal;
    // What is done, read on a thread of its own: the window never waits on
    // the journal. The units proven as last read leave them out of a port's
    // choice; the claim, in the journal itself, is what decides.
    QThread *m_readerThread = nullptr;
    StationReader *m_reader = nullptr;  // lives on m_readerThread
    QTimer *m_overviewTimer = nullptr;
    bool m_reading = false;
    bool m_readAgain = false;
    QHash<QString, Journal::Proven> m_proven;
    QList<UnitStatus> m_statuses;
    QString m_countsText;
    std::vector<PortRunner *> m_runners;
    std::vector<PortTile *> m_tiles;
    QWidget *m_setup = nullptr;
    QLabel *m_summary = nullptr;
    QLineEdit *m_manifest = nullptr;
    QListWidget *m_portList = nullptr;
    QLineEdit *m_backup = nullptr;
    QCheckBox *m_fresh = nullptr;  // new modules: nothing to keep, no backup
    QCheckBox *m_autoLabels = nullptr;
    QCheckBox *m_callSound = nullptr;
    QCheckBox *m_callAttention = nullptr;
    QCheckBox *m_titleCount = nullptr;
    std::unique_ptr<BenchCall> m_call;
    std::vector<bool> m_waiting;  // per port: finished a unit, waits for the next module
    bool m_manifestDone = false;
    int m_batchNumber = 0;  // a batch's late overview is not shown over the next
    QPushButton *m_newBatch = nullptr;
    QList<LabelContent> m_sheet;  // on sheet stock: labels waiting for the sheet to fill, across rounds
    QPushButton *m_printSheet = nullptr;
    std::vector<std::pair<int, PortTurn>> m_toLabel;  // proven this round, labelled in tile order once it ends
    QComboBox *m_labelSize = nullptr;
    QLineEdit *m_labelFolder = nullptr;
    QLabel *m_printerName = nullptr;
    std::unique_ptr<QPrinter> m_labelPrinter;  // none: labels go to the folder as PDF
    QGridLayout *m_tileGrid = nullptr;
    QLabel *m_counts = nullptr;
    QTableWidget *m_table = nullptr;
};
