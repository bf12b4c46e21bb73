#pragma once

#include "benchcall.h"
#include "stationsetup.h"

#include "core/journal/journallocation.h"
#include "core/port/portscan.h"
#include "core/provisioning/unitclaim.h"
#include "core/settings/linksettings.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class BenchKeys;
class PortRunner;
class PortTile;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableView;
class QHBoxLayout;
class UnitFilter;
class SharedJournal;
class StationLabels;
class StationOverview;
class StationScan;
class WorkerQueue;
struct OpenedBatch;
struct PortTurn;

// Eszköz → Állomás: several modules side by side, driven by a manifest.
// The set-up comes first: the template (the form as it stands when the batch
// starts, or a content file), the manifest, the ports and the backup folder.
// The batch opens off the window's thread (the manifest read and checked,
// the journal opened); then each port gets a tile, and the technician swaps
// modules and presses the tile's key (1–9, 0, A–F, or Space on the focused
// tile) for the next unit, or scans a unit's barcode first to choose it;
// F5 starts every waiting port, Escape stops them all, or closes the
// station when none runs. Every unit is provisioned as the
// command line's provision does it, through the same core, into the same
// journal. The window never waits on the journal.
class StationWindow : public QWidget
{
    Q_OBJECT

public:
    // How often the overview looks at the journal without being asked.
    static constexpr int OverviewEveryMs = 2000;
    // How long a port or a look may wait on the journal before the window
    // says that the journal does not answer.
    static constexpr int NotAnsweringMs = 2000;

    // Each batch's template is the form as `form` gives it when the batch starts.
    StationWindow(TemplateSource form, const LinkSettings &settings, const JournalLocation &journal, const DeviceLookup &lookup,
                  QWidget *parent);
    // A station whose form stays as given.
    StationWindow(const FormValues &templateForm, const LinkSettings &settings, const JournalLocation &journal,
                  const DeviceLookup &lookup, QWidget *parent);
    ~StationWindow() override;

    // Starts opening a batch for `ports` from the template as it stands:
    // opened() follows once the manifest is read and the journal open, or a
    // box has said why not. False, after a box, when it cannot start at all.
    // No backup folder: new modules, written without a backup.
    bool open(const QString &manifestPath, const QStringList &ports, const QString &backupFolder);
    bool isOpening() const { return m_opening.isValid(); }
    int portCount() const { return int(m_runners.size()); }
    PortTile *tile(int port) const { return m_tiles[size_t(port)]; }
    bool isBusy() const;
    // Whether a key typed at the bench waits to be told from a scanned code.
    bool isHoldingKey() const;
    QTableView *unitTable() const { return m_table; }
    // A PDF label for each unit proven from now on, in `folder`.
    void setLabelFolder(const QString &folder);
    // A printed label for each unit proven from now on, on that printer.
    void setLabelPrinter(const QString &printerName);
    BenchCall &benchCall() { return *m_call; }

signals:
    void opened(bool ok);

public slots:
    // The port's key: acknowledges its failure, or starts it, with the
    // unit scanned before if there is one.
    void pressPort(int port);
    void startPort(int port, const QList<int> &only = {});
    void startAll();
    void stopAll();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createLayout();
    void createShortcuts();
    void openFromSetup();
    void batchOpened(const OpenedBatch &opened, const QString &manifestPath, const QStringList &ports,
                     const QString &backupFolder);
    void addPorts(const QStringList &ports);
    void cancelOpening();
    void closeBatch();
    void releaseJournal();
    void onWorker(std::function<void()> job, std::function<void()> done);
    void escape();
    void watch();
    void showWaiting();
    void finishTurn(int port, const PortTurn &turn);
    void manifestLooked();
    void showUnitEntries(int row);
    void printChosenLabel();
    void reportShift();

    LinkSettings m_settings;
    JournalLocation m_location;
    DeviceLookup m_lookup;
    Batch m_batch;
    QStringList m_ports;
    QList<QList<int>> m_candidates;
    std::shared_ptr<SharedJournal> m_journal;
    std::unique_ptr<WorkerQueue> m_worker;  // opens a batch, closes its journal and reads a report, off the window's thread
    QElapsedTimer m_opening;                   // valid while a batch opens
    int m_openings = 0;                        // an opening given up is not shown when it ends
    std::vector<PortRunner *> m_runners;
    std::vector<PortTile *> m_tiles;
    std::vector<bool> m_waiting;  // per port: finished a unit, waits for the next module
    bool m_manifestDone = false;
    StationSetup *m_setup = nullptr;
    StationOverview *m_overview = nullptr;
    StationLabels *m_labels = nullptr;
    StationScan *m_scan = nullptr;
    BenchKeys *m_keys = nullptr;
    std::unique_ptr<BenchCall> m_call;
    QTimer m_watch;  // the journal's silences, said on the tiles and the counts line
    QLabel *m_summary = nullptr;
    QGridLayout *m_tileGrid = nullptr;
    QLabel *m_counts = nullptr;
    QLabel *m_scanLine = nullptr;
    QTableView *m_table = nullptr;
    UnitFilter *m_filter = nullptr;
    QPushButton *m_newBatch = nullptr;
    QPushButton *m_printSheet = nullptr;
    QPushButton *m_report = nullptr;
};
