#pragma once

#include "core/journal/journalentry.h"
#include "core/label/labelcontent.h"
#include "sheetstock.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PortTile;
class QPrinter;
class QPushButton;
class QWidget;
class StationSetup;

// The station's labels: a label for each proven unit, as a PDF in the
// label folder or on the printer chosen, within moments of its proof (units
// proven together in tile order), each naming its tile and port; on sheet
// stock, a sheet's places filled across units, rounds and restarts from its
// first free place, the sheet printed when full, when asked or when the
// station closes; a chosen unit's label again.
class StationLabels : public QObject
{
    Q_OBJECT

public:
    using TileOf = std::function<PortTile *(int port)>;
    // How long a proven unit's label waits for others proven with it, so
    // that they come out in tile order: well within the 2 s a technician
    // waits at the printer.
    static constexpr int GatherMs = 1500;

    StationLabels(StationSetup *setup, QPushButton *printSheet, QWidget *window, TileOf tileOf);
    ~StationLabels() override;
    // A sheet's labels are never lost with the station: what is on it goes.
    void printWhatIsLeft();

    void setPrinter(const QString &name);  // empty: labels go to PDF files
    QString printerName() const;
    void choosePrinter();
    // What the batch's line says of the labels: "nincs", "PDF, 62x29", "labels, a4-3x8".
    QString shown() const;

    // A unit proven on `port`: labelled once those proven with it are in.
    void proven(int port, const QString &portName, const JournalEntry &claim);
    // The labels gathered so far, now, in tile order.
    void labelGathered();
    void forgetRound();
    void printSheetNow();
    // The last label of port `port`'s tile, again (a label torn or
    // smudged at the printer).
    void reprint(int port);
    // A sheet partly used before: its first free place (0 for the first).
    void setFirstPlace(int place);
    int nextPlace() const { return m_stock.nextPlace(); }
    // The chosen unit's entry, as the journal had it: its label on a printer
    // the technician picks.
    void printEntryLabel(const std::optional<JournalEntry> &proven);
    // A label scanned at the bench, made again where the station's labels
    // go; what became of it, in words (empty with no labels chosen).
    QString labelAgain(const LabelContent &made);

private:
    void label(PortTile *tile, const LabelContent &label);
    QString place(const LabelContent &made);
    void showSheet();

    StationSetup *m_setup;
    QPushButton *m_printSheet;
    QWidget *m_window;
    TileOf m_tileOf;
    std::unique_ptr<QPrinter> m_printer;  // none: labels go to the folder as PDF
    SheetStock m_stock;                   // on sheet stock: labels waiting for the sheet to fill, and its first place
    std::vector<std::pair<int, LabelContent>> m_gathered;  // proven moments ago, labelled together in tile order
    QHash<int, LabelContent> m_last;                      // each tile's last label
    QTimer m_gather;
};
