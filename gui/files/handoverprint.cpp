#include "handoverprint.h"

#include "core/form/handoversheet.h"
#include "core/phones/phonebook.h"
#include "gui/texts/windowtexts.h"
#include "gui/usersettings.h"
#include "labels/handoverpage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(WindowText)
};

// Whether the PIN goes on the sheet and who installed the module; nothing
// when the technician cancels.
std::optional<HandoverOptions> askOptions(QWidget *window)
{
    QDialog dialog(window);
    dialog.setObjectName(QStringLiteral("sheetOptions"));
    dialog.setWindowTitle(QCoreApplication::translate("MainWindow", "Nyomtatás"));
    auto *pin = new QCheckBox(WindowText::askPinOnSheet(), &dialog);
    pin->setObjectName(QStringLiteral("withPin"));
    auto *installer = new QLineEdit(userSettings().value(QStringLiteral("sheet/installer")).toString(), &dialog);
    installer->setObjectName(QStringLiteral("installer"));
    installer->setPlaceholderText(Texts::tr("név, cég"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QFormLayout(&dialog);
    layout->addRow(pin);
    layout->addRow(Texts::tr("Telepítő:"), installer);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    userSettings().setValue(QStringLiteral("sheet/installer"), installer->text().trimmed());
    return HandoverOptions{pin->isChecked(), installer->text().trimmed(), QDate::currentDate()};
}

} // namespace

void printHandoverSheet(QWidget *window, const FormValues &form, const PhoneBook &book)
{
    const std::optional<HandoverOptions> options = askOptions(window);
    if (!options)
        return;
    const HandoverSheet sheet = handoverSheet(form, [&book](const QString &number) { return book.nameOf(number); }, book.simNumber);
    const SheetPage page = handoverPage(sheet, *options);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);  // the sheet keeps its own margins, as its PDF does
    printer.setDocName(sheetFileName(sheet.moduleName).chopped(4));
    QPrintPreviewDialog preview(&printer, window);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&page](QPrinter *target) {
        QPainter painter(target);
        paintSheet(painter, target->paperRect(QPrinter::DevicePixel), page, target->resolution() / 25.4);
    });
    preview.exec();
    window->window()->activateWindow();
}
