#include "phonefiles.h"

#include "core/content/manifestfile.h"
#include "core/phones/phoneexport.h"
#include "core/storage/outputfile.h"
#include "gui/dialogs/filedialog.h"
#include "gui/dialogs/messagebox.h"
#include "gui/form/formbinding.h"
#include "gui/form/formhistory.h"
#include "gui/texts/windowtexts.h"
#include "phoneimportdialog.h"
#include "windowphonebook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>


namespace {

// The window's texts, in the context of its other texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(WindowText)
};

} // namespace

void importPhones(QWidget *window, QWidget *form, FormHistory &history, WindowPhoneBook &book)
{
    const QString path = FileDialog::openFileName(window, Texts::tr("Telefonszámok importálása"), QDir::homePath(),
                                                  Texts::tr("Névjegyek és táblázatok (*.vcf *.vcard *.csv *.txt);;Minden fájl (*)"));
    if (path.isEmpty())
        return;
    const ManifestBytes read = readManifestBytes(path);
    if (read.problem != ManifestBytes::Problem::None) {
        Message::warning(window, Texts::tr("Telefonszámok importálása"), Texts::tr("%1 nem olvasható: %2").arg(QFileInfo(path).fileName(), WindowText::fileBytesProblem(read, false)));
        return;
    }
    FormValues values = readForm(form);
    PhoneImportDialog preview(read.bytes, values, window);
    if (preview.exec() != QDialog::Accepted)
        return;
    // The dialog lets no more numbers through than there are free rows.
    const QList<ChosenNumber> chosen = preview.chosen();
    if (!placeChosen(values, chosen))
        return;
    history.record();
    writeForm(form, values);
    book.add(chosen);
    history.record();
}

void exportPhones(QWidget *window, QWidget *form, const PhoneBook &book)
{
    const QString csvFilter = Texts::tr("CSV táblázat (*.csv)");
    const QString path = FileDialog::saveFileName(window, Texts::tr("Telefonszámok exportálása"), QDir::homePath(),
                                                  csvFilter + QStringLiteral(";;") + Texts::tr("vCard névjegyek (*.vcf)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const RowName name = [](int row) { return Texts::tr("Telefonszám %1").arg(row); };
    const QByteArray bytes = exportedNumbers(exportFormatOf(path), readForm(form), book, name);
    if (const FileError error = writeWholeFile(path, bytes))
        Message::critical(window, Texts::tr("Telefonszámok exportálása"), Texts::tr("%1 nem írható: %2").arg(QFileInfo(path).fileName(), WindowText::fileError(error)));
}
