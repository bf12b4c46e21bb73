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
#include <QFile>
#include <QPrinter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// While it lives, files made by the print system are their owner's alone
// (the print dialog's PDF file is made by Qt, not through OutputFile).
class PrivateFiles
{
public:
    explicit PrivateFiles(bool active) : m_active(active), m_old(active ? ::umask(077) : 0) {}
    ~PrivateFiles()
    {
        if (m_active)
            ::umask(m_old);
    }
    PrivateFiles(const PrivateFiles &) = delete;
    PrivateFiles &operator=(const PrivateFiles &) = delete;

private:
    bool m_active;
    mode_t m_old;
};

// A PDF that replaced one keeps that one's mode: made the owner's alone, when
// it is a regular file of ours (reached without following a link).
void makeOwnersAlone(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
        ::fchmod(fd, info.st_mode & 0700);
    ::close(fd);
}

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
    auto *installer = new QLineEdit(UserSettings()->value(QStringLiteral("sheet/installer")).toString(), &dialog);
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
    UserSettings()->setValue(QStringLiteral("sheet/installer"), installer->text().trimmed());
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
    {
        // A PDF with the PIN is made for its owner's eyes alone.
        const PrivateFiles privateFiles(options->withPin);
        preview.exec();
    }
    if (options->withPin && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        makeOwnersAlone(printer.outputFileName());
    window->window()->activateWindow();
}
