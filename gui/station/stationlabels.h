#pragma once

#include "core/journal/journalentry.h"
#include "core/label/labelcontent.h"

#include <QObject>

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
// label folder or on the printer chosen; a round's labels in tile order, each
// naming its tile and port; on sheet stock, a sheet's places filled across
// units and rounds, the sheet printed when full or when asked; a chosen
// unit's label again.
class StationLabels : public QObject
{
    Q_OBJECT

public:
    using TileOf = std::function<PortTile *(int port)>;

    StationLabels(StationSetup *setup, QPushButton *printSheet, QWidget *window);
    ~StationLabels() override;
    // A sheet's labels are never lost with the station: what is on it goes.
    void printWhatIsLeft();

    void setPrinter(const QString &name);  // empty: labels go to PDF files
    QString printerName() const;
    void choosePrinter();
    // What the batch's line says of the labels: "nincs", "PDF, 62x29", "labels, a4-3x8".
    QString shown() const;

    // A unit proven on `port` this round; labelled once the round ends.
    void proven(int port, const QString &portName, const JournalEntry &claim);
    // The round has ended: its labels, in tile order.
    void roundEnded(const TileOf &tileOf);
    void forgetRound();
    void printSheetNow();
    // The chosen unit's entry, as the journal had it: its label on a printer
    // the technician picks.
    void printEntryLabel(const std::optional<JournalEntry> &proven);

private:
    void label(PortTile *tile, const LabelContent &label);
    void showSheet();

    StationSetup *m_setup;
    QPushButton *m_printSheet;
    QWidget *m_window;
    std::unique_ptr<QPrinter> m_printer;  // none: labels go to the folder as PDF
    QList<LabelContent> m_sheet;          // on sheet stock: labels waiting for the sheet to fill, across rounds
    std::vector<std::pair<int, LabelContent>> m_round;  // proven this round, labelled in tile order once it ends
};
