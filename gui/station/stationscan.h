#pragma once

#include "core/provisioning/scannedcode.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QWidget;
class StationLabels;
class StationOverview;
struct JournalEntry;

// What the station does with a barcode scanned at the bench. A unit of the
// manifest (its module's barcode) is picked for the next port whose key is
// pressed, unless it is done or being provisioned; a printed label's QR code
// shows the journal's entry behind it, with Enter to make the label again.
// What became of each code is said on a line of its own.
class StationScan : public QObject
{
    Q_OBJECT

public:
    StationScan(QLabel *line, StationOverview *overview, StationLabels *labels, QWidget *window);

    // The batch's units; none: nothing to pick.
    void setUnits(const QList<ManifestUnit> *units, bool watching);
    void scanned(const QString &code);
    // The unit picked for the next port key; -1 for none.
    int picked() const { return m_picked; }
    // The port's key was pressed: the picked unit goes to it, if it may.
    // False, with the reason on the line, when the port may not take it.
    bool handOver(int port, const QList<int> &portCandidates);
    void forget();

signals:
    // In the watch view a scanned unit shows its entries.
    void unitEntriesWanted(int unit);

private:
    void scannedUnit(int unit);
    void scannedLabel(const ScannedCode &code);
    void showEntry(const ScannedCode &code, const std::optional<JournalEntry> &read);
    void say(const QString &text);

    QLabel *m_line;
    StationOverview *m_overview;
    StationLabels *m_labels;
    QWidget *m_window;
    const QList<ManifestUnit> *m_units = nullptr;
    bool m_watching = false;
    int m_picked = -1;
};
