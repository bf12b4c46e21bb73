#include "handoverprint.h"

#include "core/form/handoversheet.h"
#include "gui/texts/windowtexts.h"
#include "labels/sheetpdf.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

void printHandoverSheet(QWidget *window, const FormValues &form)
{
    QMessageBox ask(QMessageBox::Question, QCoreApplication::translate("MainWindow", "Nyomtatás"), WindowText::askPinOnSheet(),
                    QMessageBox::Yes | QMessageBox::No, window);
    ask.setDefaultButton(QMessageBox::No);
    const bool withPin = ask.exec() == QMessageBox::Yes;
    const SheetPage page = WindowText::handoverPage(handoverSheet(form), withPin);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(page.title);
    QPrintPreviewDialog preview(&printer, window);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&page](QPrinter *target) {
        QPainter painter(target);
        const QRectF area(QPointF(0, 0), target->pageRect(QPrinter::DevicePixel).size());
        paintSheet(painter, area, page, target->resolution() / 25.4);
    });
    preview.exec();
    window->window()->activateWindow();
}
