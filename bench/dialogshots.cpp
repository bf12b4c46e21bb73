// The guide's pictures of the window's dialogs, drawn without a display:
// the telephone-number import's preview of a phone's contacts, and the
// customer's hand-over sheet of the example configuration.
//
//   dialogshots IMPORT.png SHEET.png

#include "core/content/contentfile.h"
#include "core/content/datafiles.h"
#include "core/form/handoversheet.h"
#include "gui/files/phoneimportdialog.h"
#include "labels/handoverpage.h"
#include "labels/sheetpdf.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

const char *const Contacts =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kovács Péter\r\nTEL;TYPE=CELL:+36 30 123 4567\r\nTEL;TYPE=HOME:06 1 234 5678\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nagy Anna\r\nTEL;TYPE=CELL:06-20/555-1234\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Szabó Gábor\r\nTEL;VALUE=uri;TYPE=cell:tel:+36-70-987-6543\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nagy Anna (munka)\r\nTEL;TYPE=CELL:0036 20 555 1234\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kapu\r\nTEL:kapu\r\nEND:VCARD\r\n";

bool importPicture(const FormValues &form, const QString &path)
{
    PhoneImportDialog dialog(QByteArray(Contacts), form, nullptr);
    dialog.findChild<QCheckBox *>(QStringLiteral("permission1"))->setChecked(true);
    dialog.findChild<QCheckBox *>(QStringLiteral("permission3"))->setChecked(true);
    dialog.resize(900, 460);
    dialog.show();
    QApplication::processEvents();
    return dialog.grab().save(path);
}

bool sheetPicture(const FormValues &form, const QString &path)
{
    constexpr double DotsPerMm = 4;  // about 100 dots per inch: readable, not large
    QImage page(int(210 * DotsPerMm), int(297 * DotsPerMm), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const auto nameOf = [](const QString &digits) {
        return digits.startsWith(u"3620") ? QStringLiteral("Kovács Ödön") : QStringLiteral("Kovács Ödönné");
    };
    const HandoverSheet sheet = handoverSheet(form, nameOf, QStringLiteral("36709990000"));
    paintSheet(painter, QRectF(0, 0, page.width(), page.height()),
               handoverPage(sheet, {false, QStringLiteral("Példa Péter, Példa Elektronika Kft."), QDate(2026, 12, 9)}), DotsPerMm);
    painter.end();
    return page.save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: dialogshots IMPORT.png SHEET.png\n");
        return 2;
    }
    const FormValues example = ContentFile::load(dataFilePath(QStringLiteral("example.t16")), initialFormValues()).values;
    const bool made = importPicture(example, QString::fromLocal8Bit(argv[1])) && sheetPicture(example, QString::fromLocal8Bit(argv[2]));
    return made ? 0 : 1;
}
