#include "stationlabels.h"

#include "core/label/labelsize.h"
#include "core/storage/outputfile.h"
#include "core/storage/ownfolder.h"
#include "gui/dialogs/messagebox.h"
#include "gui/texts/windowtexts.h"
#include "labelprinting.h"
#include "labels/labelfile.h"
#include "porttile.h"
#include "stationsetup.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <cerrno>

StationLabels::StationLabels(StationSetup *setup, QPushButton *printSheet, QWidget *window, TileOf tileOf)
    : QObject(window)
    , m_setup(setup)
    , m_printSheet(printSheet)
    , m_window(window)
    , m_tileOf(std::move(tileOf))
{
    m_gather.setSingleShot(true);
    m_gather.setInterval(GatherMs);
    connect(&m_gather, &QTimer::timeout, this, &StationLabels::labelGathered);
    connect(m_printSheet, &QPushButton::clicked, this, &StationLabels::printSheetNow);
    m_setup->setFirstPlace(m_stock.nextPlace());
    showSheet();
}

StationLabels::~StationLabels() = default;

void StationLabels::printWhatIsLeft()
{
    labelGathered();
    if (m_printer && !m_stock.waiting().isEmpty())
        printSheetNow();
}

void StationLabels::setPrinter(const QString &name)
{
    if (name.isEmpty()) {
        m_printer.reset();
    } else {
        m_printer = std::make_unique<QPrinter>();
        m_printer->setPrinterName(name);
    }
    m_setup->setPrinterName(name);
}

QString StationLabels::printerName() const
{
    return m_printer ? m_printer->printerName() : QString();
}

// A printer, or "Print to File (PDF)": then the labels go as PDF files into
// the folder of the file named there. Either can be changed back.
void StationLabels::choosePrinter()
{
    auto printer = std::make_unique<QPrinter>();
    if (m_printer)
        printer->setPrinterName(m_printer->printerName());
    QPrintDialog dialog(printer.get(), m_window);
    const int answer = dialog.exec();
    m_window->activateWindow();  // the tiles' keys work again at once
    if (answer != QDialog::Accepted)
        return;
    if (printer->outputFormat() == QPrinter::PdfFormat || printer->printerName().isEmpty()) {
        if (!printer->outputFileName().isEmpty())
            m_setup->setLabelFolder(QFileInfo(printer->outputFileName()).absolutePath());
        setPrinter({});
        return;
    }
    setPrinter(printer->printerName());
}

QString StationLabels::shown() const
{
    if (!m_setup->autoLabels())
        return tr("nincs");
    const QString size = m_setup->labelSize();
    return m_printer ? tr("%1, %2").arg(m_printer->printerName(), size) : tr("PDF, %1").arg(size);
}

void StationLabels::proven(int port, const QString &portName, const JournalEntry &claim)
{
    if (!m_setup->autoLabels())
        return;
    std::optional<LabelContent> made = labelFor(claim);
    if (!made)
        return;
    made->tile = port + 1;
    made->port = portName;
    m_gathered.emplace_back(port, *made);
    if (!m_gather.isActive())
        m_gather.start();
}

// Ports that finish within moments of each other would hand over their
// labels in the order they happened to end; gathered for a moment from the
// first, they come out in tile order, each with its tile's number, without
// waiting for ports still at work.
void StationLabels::labelGathered()
{
    m_gather.stop();
    std::sort(m_gathered.begin(), m_gathered.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[port, made] : std::exchange(m_gathered, {}))
        label(m_tileOf(port), made);
}

void StationLabels::forgetRound()
{
    labelGathered();
}

void StationLabels::setFirstPlace(int place)
{
    if (m_stock.waiting().isEmpty())
        m_stock.setFirstPlace(place);
    showSheet();
}

void StationLabels::reprint(int port)
{
    if (const auto last = m_last.constFind(port); last != m_last.cend())
        label(m_tileOf(port), *last);
}

void StationLabels::label(PortTile *tile, const LabelContent &made)
{
    if (!tile || !labelSize(m_setup->labelSize()))
        return;
    m_last.insert(made.tile - 1, made);
    tile->addNote(place(made));
}

QString StationLabels::labelAgain(const LabelContent &made)
{
    return labelSize(m_setup->labelSize()) ? place(made) : QString();
}

// The label on the sheet, the printer or into the label folder; what
// became of it, in words for the tile.
QString StationLabels::place(const LabelContent &made)
{
    const LabelSize *size = labelSize(m_setup->labelSize());
    if (m_printer && size->perPage() > 1) {
        if (m_stock.nextPlace() >= size->perPage())
            m_stock.setFirstPlace(0);  // a first place past this stock's last
        m_stock.add(made);
        const QString note = tr("Címke: az ív %1. helye").arg(m_stock.nextPlace());
        if (m_stock.nextPlace() == size->perPage())
            printSheetNow();
        showSheet();
        return note;
    }
    if (m_printer)
        return printLabel(*m_printer, made, *size) ? tr("Címke nyomtatva: %1").arg(m_printer->printerName())
                                                   : tr("A címke nyomtatója nem indult el.");
    QString path;
    const QString folder = m_setup->labelFolder();
    FileError error = makeOwnFolder(folder);
    if (!error)
        error = writeLabelFile(folder, made, *size, &path);
    if (error.kind == FileError::Kind::System && error.code == EEXIST)  // made before: a scanned label's file is there
        return tr("Címke: %1 (már megvan)").arg(QFileInfo(path).fileName());
    return error ? tr("Címke nem készült: %1").arg(WindowText::fileError(error)) : tr("Címke: %1").arg(QFileInfo(path).fileName());
}

void StationLabels::printSheetNow()
{
    const LabelSize *size = labelSize(m_setup->labelSize());
    if (m_stock.waiting().isEmpty() || !m_printer || !size)
        return;
    if (!printSheet(*m_printer, m_stock.waiting(), *size, m_stock.firstPlace())) {
        Message::warning(m_window, tr("Állomás"), tr("A címkék ívének nyomtatója nem indult el; az ív címkéi megmaradnak."));
        return;
    }
    m_stock.printed(size->perPage());
    m_setup->setFirstPlace(m_stock.nextPlace());
    showSheet();
}

// The places taken and the next one, on the button that prints the sheet.
void StationLabels::showSheet()
{
    m_printSheet->setText(tr("Í&v nyomtatása (%1 címke, következő hely: %2)").arg(m_stock.waiting().size()).arg(m_stock.nextPlace() + 1));
    m_printSheet->setVisible(!m_stock.waiting().isEmpty());
}

void StationLabels::printEntryLabel(const std::optional<JournalEntry> &proven)
{
    const std::optional<LabelContent> made = proven ? labelFor(*proven) : std::nullopt;
    const LabelSize *size = labelSize(m_setup->labelSize());
    if (!made || !size) {
        Message::warning(m_window, tr("Címke"), tr("Válasszon egy kész egységet a táblázatban."));
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, m_window);
    if (dialog.exec() == QDialog::Accepted && !printLabel(printer, *made, *size))
        Message::warning(m_window, tr("Címke"), tr("A nyomtató nem indult el."));
}
