#include "shiftreportview.h"

#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>

void showShiftReport(QWidget *station, const SheetPage &page)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setFullPage(true);  // the page keeps its own margins, as its PDF does
    printer->setDocName(page.title);
    auto *preview = new QPrintPreviewDialog(printer.get(), station);
    preview->setObjectName(QStringLiteral("shiftReport"));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(page.title);
    QStringList rows;  // what the page says, for a reader of the window's widgets
    for (const QStringList &row : page.tableRows)
        rows << row.join(QLatin1Char('\t'));
    preview->setAccessibleDescription(rows.join(QLatin1Char('\n')));
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview, [page, printer](QPrinter *target) {
        QPainter painter(target);
        paintSheet(painter, target->paperRect(QPrinter::DevicePixel), page, target->resolution() / 25.4);
    });
    QObject::connect(preview, &QDialog::finished, station, [station] { station->activateWindow(); });
    preview->open();
}
