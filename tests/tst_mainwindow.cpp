#include "labels/language.h"
#include "gui/usersettings.h"
#include "simulator/modulesimulator.h"
#include "core/storage/outputfile.h"
#include "gui/mainwindow.h"
#include "gui/rememberedport.h"
#include "gui/help/about.h"
#include "gui/help/help.h"
#include "core/journal/journal.h"
#include "gui/journal/journalview.h"
#include "gui/settings/setcom.h"
#include "core/content/contentfile.h"
#include "gui/transfer/dload.h"
#include "core/operations/transferrunner.h"
#include "gui/form/formbinding.h"
#include "gui/form/formcolours.h"
#include "gui/form/mainwindowui.h"
#include "gui/form/rownumbers.h"
#include "gui/dialogs/filedialog.h"
#include "gui/files/phoneimportdialog.h"
#include "filebytes.h"
#include "labelfit.h"
#include "modal.h"
#include "sampleform.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QFileInfo>
#include <QStatusBar>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QSet>
#include <QTableWidget>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>
#include <QFile>

#include <cerrno>
#include <cstring>

// The window as it stands after start-up: the form's record layout, menus,
// actions, status bar and the settings slots that need no dialog.
// The user's settings in a folder of the test's own, and back where the
// test program keeps them once it ends, so that nothing is written after
// the folder has gone.
struct ScratchSettings
{
    QTemporaryDir dir;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    ScratchSettings() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    ~ScratchSettings() { qputenv("XDG_CONFIG_HOME", before); }
    QString filePath(const QString &name) const { return dir.filePath(name); }
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    static QStringList actionNames(const QMenu *menu)
    {
        QStringList names;
        for (const QAction *action : menu->actions())
            names << (action->isSeparator() ? QStringLiteral("—")
                      : action->menu()      ? action->menu()->objectName()
                                            : action->objectName());
        return names;
    }

private slots:
    void initTestCase() { qputenv("LANG", "C.UTF-8"); }

    void windowFrame()
    {
        MainWindow window;
        window.show();
        QCOMPARE(window.objectName(), QString("MainWindow"));
        // The title bar shows the file's name, and a mark while the form differs from it.
        QCOMPARE(window.windowTitle(), QString("Tavir-340 letöltő szoftver[*]"));
        QVERIFY(!window.isWindowModified());
        window.findChild<QLineEdit *>("m_nev")->setText("KAPU");
        QVERIFY(window.isWindowModified());
        QCOMPARE(window.size(), QSize(920, 507));
        QCOMPARE(window.minimumSize(), QSize(920, 507));
        QCOMPARE(window.maximumSize(), QSize(920, 507));
        window.resize(1200, 800);
        QCOMPARE(window.size(), QSize(920, 507));
        QVERIFY(!window.windowIcon().isNull());
        const QPalette palette = window.palette();
        QCOMPARE(palette.color(QPalette::Active, QPalette::Text), QColor(0, 111, 0));
        QCOMPARE(palette.color(QPalette::Inactive, QPalette::Text), QColor(0, 111, 0));
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), QColor(118, 116, 108));
        QCOMPARE(window.form().lineEdits[3]->palette().color(QPalette::Active, QPalette::Text),
                 QColor(0, 111, 0));
        QCOMPARE(window.centralWidget()->objectName(), QString("centralWidget"));
    }

    // The port chosen in one session is the one the next starts on, kept in
    // the user's configuration folder (0700, the file 0600 whatever the
    // umask); the simulated module is not kept.
    void portKeptForTheNextStart()
    {
        ScratchSettings config;
        ModuleSimulator sim;
        QVERIFY(sim.start());
        MainWindow first;
        QCOMPARE(first.chosenPort(), QString());
        first.startOnPort(sim.slavePath());
        const mode_t umask = ::umask(0);
        RememberedPort::save(first.chosenPort());
        ::umask(umask);
        auto modeOf = [&](const char *name) {
            struct stat info {};
            return ::stat(qPrintable(config.filePath(name)), &info) == 0 ? int(info.st_mode & 07777) : -1;
        };
        QCOMPARE(modeOf("tavir340"), 0700);
        QCOMPARE(modeOf("tavir340/tavir340.ini"), 0600);
        MainWindow next;
        next.startOnPort(RememberedPort::load());
        QCOMPARE(next.linkSettings().Port, sim.slavePath());
        const QList<QLabel *> shown = next.statusBar()->findChildren<QLabel *>();
        QVERIFY(std::any_of(shown.cbegin(), shown.cend(), [&](const QLabel *l) { return l->text() == sim.slavePath() + " Baud: 1200"; }));
        MainWindow simulated;
        simulated.startOnPort("simulated-module");
        QCOMPARE(simulated.linkSettings().Port, QString("COM1"));
    }

    // Settings someone else could have planted in a shared configuration
    // folder are neither read nor written: a link at the file's name (to a
    // file of root's, or dangling), a folder of another user's, and a port
    // that is another user's pseudo-terminal (she would read the PIN).
    void plantedSettingsAreNotUsed_data()
    {
        QTest::addColumn<QString>("planted");
        for (const char *planted : {"link", "dangling link", "her folder", "her terminal"})
            QTest::newRow(planted) << planted;
    }
    void plantedSettingsAreNotUsed()
    {
        QFETCH(QString, planted);
        if (::geteuid() != 0 && planted != "link" && planted != "dangling link")
            QSKIP("only root can give a folder or a terminal to another user");
        ScratchSettings config;
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString folder = config.filePath("tavir340");
        const QString ini = folder + "/tavir340.ini";
        const QString target = config.filePath("roots.ini");
        const QByteArray seeded = "[port]\nlast=" + sim.slavePath().toUtf8() + "\n";
        QVERIFY(QDir().mkpath(folder));
        if (planted == "link" || planted == "dangling link") {
            if (planted == "link")
                QVERIFY(writeWholeFile(target, seeded).kind == FileError::Kind::None);
            QVERIFY(QFile::link(target, ini));
        } else {
            QVERIFY(writeWholeFile(ini, seeded).kind == FileError::Kind::None);
            const QString given = planted == "her folder" ? folder : sim.slavePath();
            QVERIFY(::chown(QFile::encodeName(given).constData(), 65534, 65534) == 0);
        }
        QCOMPARE(RememberedPort::load(), QString());
        RememberedPort::save("/dev/ttyS0");
        QCOMPARE(fileBytes(target), planted == "link" ? seeded : QByteArray());
        QCOMPARE(QFileInfo(ini).isSymLink(), planted.contains("link"));
        if (planted == "her terminal")  // the file is ours: the technician's own choice is kept
            QVERIFY(fileBytes(ini).contains("last=/dev/ttyS0"));
        else if (planted == "her folder")
            QCOMPARE(fileBytes(ini), seeded);
    }

    // File keeps the files opened last, newest first, after its own items;
    // one chosen opens as File → Megnyitás does.
    void recentFilesReopen()
    {
        ScratchSettings config;
        FormValues a = initialFormValues(), b = initialFormValues();
        a.texts[3] = "ELSO";
        b.texts[3] = "MASODIK";
        QCOMPARE(ContentFile::save(config.filePath("a.t16"), a), ContentFile::SaveStatus::Saved);
        QCOMPARE(ContentFile::save(config.filePath("b.t16"), b), ContentFile::SaveStatus::Saved);
        MainWindow window;
        MessageBoxRecorder recorder;
        window.openPath(config.filePath("a.t16"));
        window.openPath(config.filePath("b.t16"));
        QCOMPARE(window.form().menuFile->actions().last()->menu(), window.form().menuRecent);
        emit window.form().menuRecent->aboutToShow();
        const QList<QAction *> listed = window.form().menuRecent->actions();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[0]->text(), QString("&1  b.t16"));
        QCOMPARE(listed[1]->text(), QString("&2  a.t16"));
        listed[1]->trigger();
        QCOMPARE(formLineEdits(window.centralWidget())[3]->text(), QString("ELSO"));
        QCOMPARE(recorder.boxes.size(), 3);  // each opened, none refused
    }

    // File → Nyomtatás: the customer's sheet in a print preview, printed
    // here to a PDF: one page, each number with what it may do in words, the
    // PIN only when the technician says so, the installer remembered.
    void handoverSheetPrinted()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QFAIL("pdftotext is missing: scripts/test.sh installs poppler-utils");
        MainWindow window;
        formLineEdits(window.centralWidget())[1]->setText("4321");
        formLineEdits(window.centralWidget())[FieldItemCount + 1]->setText("36301234567");
        window.findChild<QCheckBox *>("tc2_2")->setChecked(true);
        QTemporaryDir dir;
        QVERIFY(writeWholeFile(dir.filePath("pin.pdf"), "old").kind == FileError::Kind::None
                && QFile::setPermissions(dir.filePath("pin.pdf"), QFile::Permissions(0x6644)));
        for (const bool withPin : {false, true}) {
            const QString pdf = dir.filePath(withPin ? "pin.pdf" : "nopin.pdf");
            ModalDriver driver([&](QWidget *modal) {
                if (modal->objectName() == "sheetOptions") {
                    modal->findChild<QCheckBox *>("withPin")->setChecked(withPin);
                    modal->findChild<QLineEdit *>("installer")->setText("Kapu Kft.");
                    static_cast<QDialog *>(modal)->accept();
                    return true;
                }
                auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
                if (!preview)
                    return false;
                preview->printer()->setOutputFormat(QPrinter::PdfFormat);
                preview->printer()->setOutputFileName(pdf);
                preview->findChild<QPrintPreviewWidget *>()->print();
                preview->reject();
                return true;
            });
            window.form().actionPrint->trigger();
            QCOMPARE(UserSettings()->value("sheet/installer").toString(), QString("Kapu Kft."));
            QProcess text;
            text.start("pdftotext", {"-layout", pdf, "-"});
            QVERIFY(text.waitForFinished(30000));
            const QString shown = QString::fromUtf8(text.readAllStandardOutput());
            QCOMPARE(shown.count('\f'), 1);
            QVERIFY2(shown.contains(QRegularExpression("\\n2 +\\+36301234567 +igen +- +- +-\\n")), qPrintable(shown));
            QVERIFY2(shown.contains("Telepítette: Kapu Kft."), qPrintable(shown));
            QCOMPARE(shown.contains("4321"), withPin);
            // The PIN's sheet is its owner's alone, also where it replaced one others could read.
            QCOMPARE(QFileInfo(pdf).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                     withPin ? QFile::Permissions() : QFile::ReadOther | QFile::ReadGroup);
        }
    }

    // Each telephone row's number stands beside it, drawn on the form
    // (labelsAndCombo shows the form's own widgets unchanged).
    void telephoneRowsAreNumbered()
    {
        MainWindow window;
        const QImage form = window.form().Frame->grab().toImage();
        const QRgb background = form.pixel(RowNumbers::place(1).right(), RowNumbers::place(1).top());
        for (int row = 1; row <= TelephoneCount; ++row) {
            const QRect place = RowNumbers::place(row);
            int ink = 0;
            for (int x = place.left(); x <= place.right(); ++x)
                for (int y = place.top(); y <= place.bottom(); ++y)
                    ink += form.pixel(x, y) != background;
            QVERIFY2(ink > 10, qPrintable(QString("row %1: %2 pixels of ink").arg(row).arg(ink)));
        }
    }

    // File → Telefonszámok importálása: the preview's classes in words and
    // colour, only the chosen clean number put into the first free row with
    // the permissions chosen, one step of the history; the export writes
    // the form's numbers as vCard.
    void phoneNumbersImportedAndExported()
    {
        ScratchSettings config;
        const QString contacts = config.filePath("contacts.vcf");
        QVERIFY(writeBytes(contacts, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kovács Péter\r\nTEL;TYPE=CELL:06-30/123-4567\r\n"
                                     "TEL;TYPE=WORK:+36 30 111 1111\r\nTEL;TYPE=HOME:06 1 234 5678\r\nTEL:kapu\r\nEND:VCARD\r\n"));
        MainWindow window;
        const Ui::MainWindow &ui = window.form();
        const auto telephone = [&ui](int n) { return ui.lineEdits[FieldItemCount + n - 1]; };
        telephone(1)->setText("36301111111");
        QStringList shown;
        QString summary;
        ModalDriver driver([&](QWidget *modal) {
            auto *dialog = qobject_cast<PhoneImportDialog *>(modal);
            if (!dialog)
                return false;
            const auto *preview = dialog->findChild<QTableWidget *>("preview");
            for (int row = 0; row < preview->rowCount(); ++row)
                shown << QStringList{preview->item(row, 1)->text(), preview->item(row, 2)->text(),
                                     preview->item(row, PhoneImportDialog::ResultColumn)->text(),
                                     preview->item(row, PhoneImportDialog::ResultColumn)->background().color().name()}.join('|');
            summary = dialog->findChild<QLabel *>("summary")->text();
            dialog->findChild<QCheckBox *>("permission1")->setChecked(true);
            dialog->findChild<QCheckBox *>("permission3")->setChecked(true);
            dialog->accept();
            return true;
        });
        FileDialog::answerNext(contacts);
        ui.actionImportPhones->trigger();
        QCOMPARE(shown, (QStringList{"06-30/123-4567|36301234567|importálható|#d8f5d0",
                                     "+36 30 111 1111|36301111111|figyelmeztetés: már az űrlapon van|#fff2b3",
                                     "06 1 234 5678|3612345678|figyelmeztetés: vezetékes szám, nem mobil|#fff2b3",
                                     "kapu||hiba: nem telefonszám|#f8d0d0"}));
        QCOMPARE(summary, QString("1 importálható, 2 figyelmeztetés, 1 hiba. Kiválasztva: 1, szabad sor: 15. "
                                  "1 kiválasztott szám semmit sem tesz: nincs bejelölve sem riasztás, sem vezérlés."));
        QCOMPARE(telephone(2)->toolTip(), QString("Kovács Péter (CELL)"));  // its owner, kept in the phone book
        QCOMPARE(telephone(2)->text(), QString("36301234567"));
        QCOMPARE(telephone(3)->text(), QString());
        QCOMPARE(window.findChild<QCheckBox *>("tc2_2")->isChecked() + 2 * window.findChild<QCheckBox *>("tc1_2")->isChecked()
                     + 4 * window.findChild<QCheckBox *>("tc4_2")->isChecked() + 8 * window.findChild<QCheckBox *>("tc3_2")->isChecked(),
                 1 + 4);
        ui.actionUndo->trigger();
        QCOMPARE(telephone(2)->text(), QString());
        QCOMPARE(telephone(1)->text(), QString("36301111111"));
        ui.actionRedo->trigger();
        QCOMPARE(telephone(2)->text(), QString("36301234567"));

        FileDialog::answerNext(config.filePath("numbers.vcf"));
        ui.actionExportPhones->trigger();
        QFile exported(config.filePath("numbers.vcf"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray vcard = exported.readAll();
        QVERIFY2(vcard.contains("FN:Kovács Péter\r\n") && vcard.contains("FN:Telefonszám 1\r\n")
                     && vcard.contains("TEL;TYPE=CELL:+36301234567\r\n") && vcard.count("BEGIN:VCARD") == 2,
                 vcard.constData());

        // A file that cannot be written or read is said, and the form stays.
        MessageBoxRecorder recorder;
        FileDialog::answerNext(config.filePath("no/such/folder/numbers.csv"));
        ui.actionExportPhones->trigger();
        FileDialog::answerNext(config.filePath("missing.vcf"));
        ui.actionImportPhones->trigger();
        QCOMPARE(recorder.boxes.size(), 2);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(recorder.boxes[0].text.startsWith("numbers.csv nem írható: "), qPrintable(recorder.boxes[0].text));
        QCOMPARE(recorder.boxes[1].text, QString("missing.vcf nem olvasható: ") + QString::fromLocal8Bit(std::strerror(ENOENT)));
        QCOMPARE(telephone(2)->text(), QString("36301234567"));
    }

    // The world's contacts files in the preview, on an English desktop: the
    // country is the form's, each number shown with its name and kind, in
    // the class it has; a landline may be chosen, and starts unchosen.
    void contactsFromTheWorldInThePreview_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("shown");  // name|stored|chosen
        QTest::newRow("Google") << "google-current.csv"
            << QStringList{"Ödön Kovács|36301234567|1", "Ödön Kovács|3612345678|0", "Éva Mária Szabó|36209876543|1"};
        QTest::newRow("Outlook") << "outlook.csv" << QStringList{"Péter Tóth|36305556666|1", "Péter Tóth|3612223333|0", "Zsófia Kiss|36704445555|1"};
        QTest::newRow("Excel, Windows-1250") << "excel-hu-1250.csv"
            << QStringList{"Kovács Ödön|36301234567|1", "Szőke Győző|36201112222|1", "Árvai Éva|36703334444|1"};
        QTest::newRow("Android 2.1") << "android-21.vcf" << QStringList{"Kovács Ödön|36301234567|1", "Kovács Ödön|3612345678|0", "Szőke Győző|36201112222|1"};
    }
    void contactsFromTheWorldInThePreview()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, shown);
        QVERIFY(Language::install("en"));
        const auto restore = qScopeGuard([] { Language::install({}); });
        QFile contacts(QStringLiteral(TAVIR340_CONTACTS "/") + file);
        QVERIFY(contacts.open(QIODevice::ReadOnly));
        PhoneImportDialog dialog(contacts.readAll(), initialFormValues(), nullptr);
        QCOMPARE(dialog.findChild<QComboBox *>("region")->currentData().toString(), QString("HU"));
        const auto *preview = dialog.findChild<QTableWidget *>("preview");
        QStringList got;
        for (int row = 0; row < preview->rowCount(); ++row) {
            const QTableWidgetItem *name = preview->item(row, PhoneImportDialog::NameColumn);
            got << name->text() + '|' + preview->item(row, PhoneImportDialog::StoredColumn)->text() + '|'
                       + QString::number(name->checkState() == Qt::Checked);
        }
        QCOMPARE(got, shown);
        // The landline ticked: it goes in too, with what it may do.
        for (int row = 0; row < preview->rowCount(); ++row)
            preview->item(row, PhoneImportDialog::NameColumn)->setCheckState(Qt::Checked);
        dialog.findChild<QCheckBox *>("permission3")->setChecked(true);
        QCOMPARE(dialog.chosen().size(), shown.size());
        QVERIFY(dialog.chosen().last().permissions.controlOutput3);
        dialog.findChild<QPushButton *>("selectNone")->click();
        QVERIFY(dialog.chosen().isEmpty());
    }

    // A table without headings: its columns guessed from the first row and
    // chosen again in the dialog, the first row left out as headings, the
    // country changed; each choice reads the file again.
    void aTableWithoutHeadings()
    {
        PhoneImportDialog dialog(QByteArray("Kapu,+36 30 123 4567\nGarázs,06 20 555 1234\n"), initialFormValues(), nullptr);
        const auto *preview = dialog.findChild<QTableWidget *>("preview");
        const auto shown = [preview] {
            QStringList rows;
            for (int row = 0; row < preview->rowCount(); ++row)
                rows << preview->item(row, 0)->text() + '|' + preview->item(row, 2)->text();
            return rows;
        };
        QCOMPARE(shown(), (QStringList{"Kapu|36301234567", "Garázs|36205551234"}));
        dialog.findChild<QCheckBox *>("header")->setChecked(true);
        QCOMPARE(shown(), QStringList{"Garázs|36205551234"});
        auto *names = dialog.findChild<QComboBox *>("nameColumn");
        names->setCurrentIndex(names->findData(-1));
        QCOMPARE(shown(), QStringList{"|36205551234"});
        QCOMPARE(dialog.chosen().size(), 1);
        QCOMPARE(dialog.chosen().first().number, QString("36205551234"));
        auto *region = dialog.findChild<QComboBox *>("region");
        region->setCurrentIndex(region->findData("US"));
        QCOMPARE(shown(), QStringList{"|"});
        QVERIFY(dialog.chosen().isEmpty());
        QVERIFY(!dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());
    }

    // The form's history: an edit once left, a box, a load, each undone and
    // redone with the keys wherever the cursor is; a field with an edit of
    // its own to undo keeps Ctrl+Z.
    void formHistoryUndoesWholeChanges()
    {
        ScratchSettings config;
        FormValues loaded = initialFormValues();
        loaded.texts[3] = "BETOLTOTT";
        QCOMPARE(ContentFile::save(config.filePath("h.t16"), loaded), ContentFile::SaveStatus::Saved);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        MessageBoxRecorder recorder;
        auto *name = window.findChild<QLineEdit *>("m_nev");
        auto *box = window.findChild<QCheckBox *>("tc1_1");
        const QString first = name->text();
        const bool boxWas = box->isChecked();
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "ELSO");
        QTest::keyClick(name, Qt::Key_Tab);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QCOMPARE(box->isChecked(), !boxWas);
        window.openPath(config.filePath("h.t16"));
        QCOMPARE(name->text(), QString("BETOLTOTT"));
        QVERIFY(QTest::qWaitForWindowActive(&window));
        name->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), name);
        auto press = [name](bool undo) {
            QTest::keyClick(name, Qt::Key_Z, undo ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        };
        press(true);
        QCOMPARE(name->text(), QString("ELSO"));
        QCOMPARE(box->isChecked(), !boxWas);
        press(true);
        QCOMPARE(box->isChecked(), boxWas);
        press(true);
        QCOMPARE(name->text(), first);
        for (int step = 0; step < 3; ++step)
            press(false);
        QCOMPARE(name->text(), QString("BETOLTOTT"));
        name->setFocus();
        name->end(false);
        QTest::keyClicks(name, "X");
        press(true);  // the field's own
        QCOMPARE(name->text(), QString("BETOLTOTT"));
    }

    void lineEditsInRecordOrder()
    {
        MainWindow window;
        const QList<QLineEdit *> edits = formLineEdits(window.centralWidget());
        QCOMPARE(edits.size(), 44);
        const QStringList expected = {
            "smskp", "m_pin", "m_id", "m_nev", "visszaallas", "be1_nev", "be2_nev", "rele_time",
            "ki3_on", "ki4_on", "ki3_off", "ki4_off", "be1_on_msg", "be1_off_msg", "be2_on_msg",
            "be2_off_msg", "r16", "r17", "r18", "r19", "r20", "r21", "r22", "r23", "r24", "r25",
            "r26", "r27", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9", "t10", "t11", "t12",
            "t13", "t14", "t15", "t16"};
        QStringList names;
        for (const QLineEdit *edit : edits)
            names << edit->objectName();
        QCOMPARE(names, expected);

        for (int i = 0; i < 44; ++i) {
            const int maxLength = (i == 1 || i == 2 || i == 7) ? 4 : i == 4 ? 1 : i >= 28 ? 14 : 16;
            QCOMPARE(edits[i]->maxLength(), maxLength);
            const bool hidden = i >= 16 && i < 28;
            QCOMPARE(edits[i]->font().family() == "Courier", !hidden);
            QCOMPARE(edits[i]->text(), i == 0 ? QString("36309888000") : QString());
            QCOMPARE(edits[i]->isEnabled(), i != 0);
        }
        QCOMPARE(edits[18]->geometry(), QRect(10, 900, 120, 20));  // r18 lies below r19
        QCOMPARE(edits[19]->geometry(), QRect(10, 880, 120, 20));
        QCOMPARE(edits[0]->geometry(), QRect(189, 10, 91, 20));
        QCOMPARE(edits[43]->geometry(), QRect(530, 55 + 25 * 15, 105, 20));

        QTest::keyClicks(edits[1], "123456");
        QCOMPARE(edits[1]->text(), QString("1234"));
        QTest::keyClicks(edits[4], "10");
        QCOMPARE(edits[4]->text(), QString("1"));
        QTest::keyClicks(edits[30], "123456789012345678");
        QCOMPARE(edits[30]->text(), QString("12345678901234"));
    }

    void checkBoxesInRecordOrder()
    {
        MainWindow window;
        const QList<QCheckBox *> boxes = formCheckBoxes(window.centralWidget());
        QCOMPARE(boxes.size(), 64);
        QStringList seen;
        for (const QCheckBox *box : boxes) {
            seen << box->objectName() + ' ' + box->property("group").toString();
            QVERIFY(!box->isChecked());
            QVERIFY(box->text().isEmpty());
        }
        QCOMPARE(seen.mid(0, 8), QStringList({"tc1_1 1.2", "tc2_1 1.1", "tc3_1 2.2", "tc4_1 2.1",
                                              "tc4_2 4.1", "tc1_2 3.2", "tc3_2 4.2", "tc2_2 3.1"}));
        QCOMPARE(seen.mid(60), QStringList({"tc4_16 32.1", "tc1_16 31.2", "tc3_16 32.2", "tc2_16 31.1"}));
        QCOMPARE(seen[26], QString("tc3_7 14.2"));
        QCOMPARE(boxes[1]->geometry().topLeft(), QPoint(440, 55));
    }

    // Under every style Debian ships for Qt 6, each visible field shows its
    // longest value whole, and each check box its box, in the form's layout.
    void fieldsFitUnderEveryStyle_data()
    {
        QTest::addColumn<QString>("style");
        for (const QString &style : QStyleFactory::keys())
            QTest::newRow(qPrintable(style)) << style;
    }
    void fieldsFitUnderEveryStyle()
    {
        QFETCH(QString, style);
        const QString before = QApplication::style()->name();
        QApplication::setStyle(style);
        const auto restore = qScopeGuard([&] { QApplication::setStyle(before); });
        MainWindow window;
        window.show();
        QStringList cut;
        for (QLineEdit *edit : formLineEdits(window.centralWidget())) {
            if (edit->focusPolicy() == Qt::NoFocus || !edit->isVisibleTo(&window))
                continue;
            // The SMS centre's field is the form's narrowest for its length:
            // it is measured with the operators' numbers it is made for.
            QString longest(edit->maxLength(), edit->objectName().startsWith("be") ? QChar('M') : QChar('8'));
            if (edit == window.form().smskp)
                longest = QString(smsOperators().first().number.size(), QChar('8'));
            edit->setText(longest);
            edit->setCursorPosition(longest.size());
            edit->grab();  // lays the text out, scrolled to the cursor
            const bool startShows = edit->cursorPositionAt(QPoint(0, edit->height() / 2)) == 0;
            edit->setCursorPosition(0);
            edit->grab();
            const bool endShows = edit->cursorPositionAt(QPoint(edit->width() - 1, edit->height() / 2)) == longest.size();
            if (!startShows || !endShows)
                cut << edit->objectName();
        }
        for (QCheckBox *box : formCheckBoxes(window.centralWidget())) {
            QStyleOptionButton option;
            option.initFrom(box);
            if (!box->rect().contains(box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box)))
                cut << box->objectName();
        }
        QVERIFY2(cut.isEmpty(), qPrintable(style + ": " + cut.join(", ")));
    }

    void labelsAndCombo()
    {
        MainWindow window;
        const QWidget *frame = window.form().Frame;
        QCOMPARE(frame->geometry(), QRect(0, 0, 925, 470));
        auto label = [&](const char *name) { return frame->findChild<QLabel *>(name); };
        QCOMPARE(label("label_14")->text(), QString("2-es bemenet bekapcsoláskor:"));
        QCOMPARE(label("label_15")->text(), QString("1-es bemenet kikapcsoláskor:"));
        QCOMPARE(label("label_8")->text(), QString("Relé meghúzási idő:"));
        QCOMPARE(label("label_22")->text(), QString("0000-9999 (mp)"));
        QCOMPARE(label("label_22")->styleSheet(), QString("color: rgb(170, 0, 0);"));
        QCOMPARE(label("label_43")->text(), QString("Ékezetek nélkül"));
        QCOMPARE(label("label_43")->geometry().topLeft(), QPoint(290, 85));
        QCOMPARE(label("label_27")->text(), QString("Bemenet riasztás  2     1"));
        QCOMPARE(label("label_28")->text(), QString("Kimenet vezérlés  2     1"));
        QVERIFY(label("label_28")->wordWrap());
        QCOMPARE(label("label_29")->text(), QString("Telefonszám"));
        QCOMPARE(label("label")->pixmap().size(), QSize(250, 200));
        QCOMPARE(label("label_30")->pixmap().size(), QSize(250, 200));

        // Creation order of the labels: the module name's caption after the
        // upper hints, the lower hints after the telephone rows.
        QStringList order;
        for (const QObject *child : frame->children())
            if (qobject_cast<const QLabel *>(child))
                order << child->objectName();
        QCOMPARE(order.indexOf("label_17"), order.indexOf("label_26") + 1);
        QCOMPARE(order.last(), QString("label_30"));
        QCOMPARE(qobject_cast<QComboBox *>(frame->children().last()), window.form().smskp_combo);

        const QComboBox *combo = window.form().smskp_combo;
        QCOMPARE(combo->count(), 4);
        QCOMPARE(combo->itemText(0), QString("T-Mobile"));
        QCOMPARE(combo->itemText(3), QString("Egyéni"));
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(!combo->isEditable());
        QVERIFY(!combo->font().bold());
    }

    // The form's fonts are chosen so that no caption, hint or column header
    // is clipped by its fixed label: a wrapped header must fit each word on a
    // line and all its lines in the label's height.
    // What is typed into a field the technician cannot see would be saved
    // and sent unseen: Tab passes the hidden reserve fields by.
    // Tab goes down the fields, then through the telephone rows, each row's
    // boxes from left to right and then its number; never into the hidden
    // reserve fields.
    void tabOrder()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.form().smskp_combo->setFocus();
        QStringList visited;
        for (int step = 0; step < 15 + 16 * 5; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QStringList expected;
        for (int i = 1; i < RequiredFieldCount; ++i)  // smskp is locked to the operator
            expected << lineEditCatalogue()[i].name;
        for (int n = 1; n <= TelephoneCount; ++n)
            expected << QString("tc1_%1").arg(n) << QString("tc2_%1").arg(n) << QString("tc3_%1").arg(n)
                     << QString("tc4_%1").arg(n) << QString("t%1").arg(n);
        QCOMPARE(visited, expected);
    }

    // The hints, headers and typed text stay readable, at 4.5 to 1 or more,
    // on a light and on a dark desktop.
    void coloursContrastWithTheWindow()
    {
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        for (const auto &[role, colour] : {std::pair(QPalette::Window, QColor(53, 53, 53)), std::pair(QPalette::Base, QColor(42, 42, 42)),
                                           std::pair(QPalette::WindowText, QColor(230, 230, 230)), std::pair(QPalette::Text, QColor(230, 230, 230))})
            dark.setColor(role, colour);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const QPalette &palette : {light, dark}) {
            QApplication::setPalette(palette);
            QCoreApplication::processEvents();
            const QColor background = window.palette().color(QPalette::Window);
            QStringList names = {"label_27", "label_28"};
            for (const QLabel *hint : window.form().hintLabels)
                names << hint->objectName();
            for (const QString &name : names) {
                QLabel *label = window.findChild<QLabel *>(name);
                label->ensurePolished();
                const double ratio = contrastRatio(label->palette().color(QPalette::WindowText), background);
                QVERIFY2(ratio >= 4.5, qPrintable(QString("%1: %2").arg(name).arg(ratio)));
            }
            const QPalette edit = formLineEdits(window.centralWidget())[3]->palette();
            QVERIFY(contrastRatio(edit.color(QPalette::Active, QPalette::Text), edit.color(QPalette::Active, QPalette::Base)) >= 4.5);
        }
        QApplication::setPalette(light);
    }

    void labelTextsFitTheirLabels()
    {
        MainWindow window;
        QCOMPARE(clippedLabels(window.form().Frame), QStringList());
    }

    void menusAndActions()
    {
        MainWindow window;
        const Ui::MainWindow &ui = window.form();
        QStringList titles;
        for (const QAction *action : ui.menuBar->actions())
            titles << action->text();
        // The menus' long-standing titles, each with its access key (Alt+F opens File).
        QCOMPARE(titles, QStringList({"&File", "&Beállítások", "&Eszköz", "&Help"}));
        QCOMPARE(actionNames(ui.menuFile),
                 QStringList({"actionNew", "actionOpen", "actionSave", "actionSaveAs", "—", "actionExit", "—", "actionUndo", "actionRedo", "actionPrint", "actionImportPhones", "actionExportPhones", "actionPhoneBook", "menuRecent"}));
        QCOMPARE(actionNames(ui.menuSettings),
                 QStringList({"actionPort", "actionCheck", "menuCHKS", "actionACK", "—",
                              "actionSeparators", "actionUC"}));
        QCOMPARE(actionNames(ui.menuCHKS),
                 QStringList({"action8bit_sum", "action16bit_sum", "action24bit_sum",
                              "action32bit_sum", "—", "actionFix"}));
        QCOMPARE(actionNames(ui.menuDevice),
                 QStringList({"actionReadup", "—", "actionDownload", "actionVerify", "—", "actionJournal", "actionStation",
                              "actionChanges"}));
        QCOMPARE(actionNames(ui.menuHelp), QStringList({"actionAbout", "actionContents"}));
        QCOMPARE(ui.menuCHKS->title(), QString("&CHKS"));
        QVERIFY(!ui.menuCHKS->isEnabled());

        struct Row { QAction *action; const char *text; const char *shortcut; bool icon; bool enabled; bool visible; };
        const Row rows[] = {
            {ui.actionNew, "New", "Ctrl+N", true, false, false},
            {ui.actionOpen, "Megnyitás", "Ctrl+O", true, true, true},
            {ui.actionSave, "Mentés", "Ctrl+S", true, true, true},
            {ui.actionSaveAs, "Save As", "", true, false, false},
            {ui.actionExit, "Exit", "Ctrl+Q", true, true, true},
            {ui.actionPort, "Port", "", false, true, true},
            {ui.actionCheck, "Check", "", false, false, true},
            {ui.action8bit_sum, "8bit sum", "", false, true, true},
            {ui.actionFix, "Fix", "", false, true, true},
            {ui.actionACK, "ACK", "", false, false, true},
            {ui.actionSeparators, "Separators", "", false, false, true},
            {ui.actionUC, "Upload Command", "", false, false, true},
            {ui.actionReadup, "Kiolvasás az eszközből", "Ctrl+R", true, true, true},
            {ui.actionDownload, "Betöltés az eszközbe", "Ctrl+D", true, true, true},
            {ui.actionVerify, "Betöltés ellenőrzése", "Ctrl+V", false, true, true},
            {ui.actionAbout, "Névjegy", "", true, true, true},
            {ui.actionContents, "Tartalom", "F1", false, true, true},
        };
        for (const Row &row : rows) {
            QCOMPARE(QString(row.action->text()).remove('&'), QString(row.text));
            QCOMPARE(row.action->shortcut(), QKeySequence(row.shortcut));
            QCOMPARE(!row.action->icon().isNull(), row.icon);
            QCOMPARE(row.action->isEnabled(), row.enabled);
            QCOMPARE(row.action->isVisible(), row.visible);
        }
        QVERIFY(ui.actionCheck->isCheckable());
        QVERIFY(!ui.actionCheck->isChecked());
        // Every item has an access key, none twice in one menu.
        for (const QMenu *menu : {ui.menuFile, ui.menuSettings, ui.menuCHKS, ui.menuDevice, ui.menuHelp}) {
            QStringList keys;
            for (const QAction *action : menu->actions()) {
                const int amp = action->text().indexOf('&');
                if (!action->isSeparator())
                    keys << (amp >= 0 ? action->text().mid(amp + 1, 1).toLower() : QString());
            }
            QVERIFY2(!keys.contains(QString()) && QSet<QString>(keys.begin(), keys.end()).size() == keys.size(), qPrintable(keys.join(',')));
        }
        QCOMPARE(ui.actionReadup->text(), QString("&Kiolvasás az eszközből"));
        QCOMPARE(ui.actionDownload->text(), QString("&Betöltés az eszközbe"));
        QCOMPARE(ui.actionVerify->text(), QString("B&etöltés ellenőrzése"));
        const QActionGroup *group = ui.action8bit_sum->actionGroup();
        QVERIFY(group && group->isExclusive());
        QCOMPARE(group->actions(), QList<QAction *>({ui.action8bit_sum, ui.action16bit_sum,
                                                     ui.action24bit_sum, ui.action32bit_sum, ui.actionFix}));
        QCOMPARE(group->checkedAction(), ui.action8bit_sum);
    }

    void checksumModes()
    {
        MainWindow window;
        const Ui::MainWindow &ui = window.form();
        ui.action32bit_sum->trigger();
        QCOMPARE(window.linkSettings().CheckSize, char(3));
        QVERIFY(!ui.action8bit_sum->isChecked());
        ui.action16bit_sum->trigger();
        QCOMPARE(window.linkSettings().CheckSize, char(1));
        ui.action24bit_sum->trigger();
        QCOMPARE(window.linkSettings().CheckSize, char(2));
        ui.action8bit_sum->trigger();
        QCOMPARE(window.linkSettings().CheckSize, char(0));

        window.setCheck();
        QCOMPARE(window.linkSettings().CheckValue, 1);
        QVERIFY(ui.menuCHKS->isEnabled());
        window.setCheck();
        QCOMPARE(window.linkSettings().CheckValue, 0);
        QVERIFY(!ui.menuCHKS->isEnabled());
    }

    void fixCheckedForACharacterMode()
    {
        LinkSettings settings;
        settings.CheckSize = 'A';
        MainWindow window(nullptr, settings);
        QVERIFY(window.form().actionFix->isChecked());
        QVERIFY(!window.form().action8bit_sum->isChecked());
        settings.CheckSize = 2;
        MainWindow window24(nullptr, settings);
        QVERIFY(window24.form().action24bit_sum->isChecked());
    }

    void slotTable()
    {
        const QStringList expected = {
            "newfile()", "openfile()", "save()", "saveas()", "verify_func()", "show_port()",
            "setCheck()", "setFixChar()", "setAckChar()", "setSeparators()", "setUploadCommand()",
            "setChks8()", "setChks16()", "setChks24()", "setChks32()", "download()", "readup()",
            "show_info()", "nevjegy()", "contents()", "input_check()", "smskpSelect()"};
        const QMetaObject &meta = MainWindow::staticMetaObject;
        QStringList declared;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            if (meta.method(i).methodType() == QMetaMethod::Slot)
                declared << meta.method(i).methodSignature();
        QCOMPARE(declared, expected);
    }

    void statusBar()
    {
        MainWindow window;
        window.show();
        QList<QLabel *> all = window.statusBar()->findChildren<QLabel *>();
        std::sort(all.begin(), all.end(), [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[0]->text(), QString("No file"));
        QCOMPARE(all[1]->text(), QString("COM1  Baud: 1200"));
        QVERIFY(all[2]->text().startsWith("© "));
        QVERIFY(all[2]->text().contains("example.com"));
    }

    void settingsSummary()
    {
        MainWindow window;
        MessageBoxRecorder recorder;
        window.show_info();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Information);
        QCOMPARE(recorder.boxes[0].title, QString("Information"));
        QCOMPARE(recorder.boxes[0].text, QString("No opened file."));

        window.linkSettings().FilePath = "x.t16";
        window.linkSettings().CheckSize = 'X';
        window.show_info();
        QCOMPARE(recorder.boxes[1].text,
                 QString("Port: COM1\nBaudrate: B1200\nTimeout: 2000\nCHKS: X\nACK char: O\n"
                         "Checkvalue: 0\nDownload Separator: |\nUpload Separator: |\nUpload Command: {\n"));
        QCOMPARE(recorder.boxes[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void exitCloses()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.form().actionExit->trigger();
        QVERIFY(!window.isVisible());
    }

    // The language the environment asks for: LANGUAGE first, then the locale;
    // C, POSIX or nothing keep the program's own Hungarian.
    void languageChoice_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("english");
        QTest::newRow("nothing") << "" << "" << "" << false;
        QTest::newRow("C") << "" << "C.UTF-8" << "" << false;
        QTest::newRow("POSIX") << "" << "POSIX" << "" << false;
        QTest::newRow("Hungarian") << "" << "hu_HU.UTF-8" << "hu_HU" << false;
        QTest::newRow("LANGUAGE=en") << "en" << "C.UTF-8" << "en" << true;
        QTest::newRow("German") << "" << "de_DE.UTF-8" << "de_DE" << true;
    }
    void languageChoice()
    {
        QFETCH(QString, language);
        QFETCH(QString, lang);
        QFETCH(QString, chosen);
        QFETCH(bool, english);
        qputenv("LANGUAGE", language.toUtf8());
        qputenv("LANG", lang.toUtf8());
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        QCOMPARE(Language::requested(), chosen);
        QCOMPARE(Language::install(chosen), english);
        Language::install({});
    }

    // With LANGUAGE=en every text the window and its dialogs show is English,
    // and fits; the maker's name is the maker's.
    void englishWindow()
    {
        QVERIFY(Language::install("en"));
        auto hungarian = [](const QString &text) {
            static const QString letters = QStringLiteral("áéíóöőúüűÁÉÍÓÖŐÚÜŰ");
            return !text.contains(QStringLiteral("Példa Elektronika"))
                && std::any_of(text.begin(), text.end(), [](QChar c) { return letters.contains(c); });
        };
        QStringList left;
        auto look = [&](QWidget *window) {
            if (hungarian(window->windowTitle()))
                left << window->windowTitle();
            for (const QLabel *label : window->findChildren<QLabel *>())
                if (label->isVisibleTo(window) && hungarian(label->text()))
                    left << label->text();
            for (const QAction *action : window->findChildren<QAction *>())
                if (action->isVisible() && hungarian(action->text()))
                    left << action->text();
            for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
                if (hungarian(button->text()))
                    left << button->text();
            for (const QComboBox *combo : window->findChildren<QComboBox *>())
                for (int i = 0; i < combo->count(); ++i)
                    if (hungarian(combo->itemText(i)))
                        left << combo->itemText(i);
            const QStringList clipped = clippedLabels(window);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(" | ")));
        };
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        look(&window);
        for (const QAction *menu : window.menuBar()->actions())
            if (hungarian(menu->text()))
                left << menu->text();
        setcom ports(QString(), 1200, &window, DeviceLookup{});
        look(&ports);
        about box(&window);
        look(&box);
        help viewer(&window);
        look(&viewer);
        QVERIFY(viewer.findChild<QPlainTextEdit *>()->toPlainText().startsWith("Tavir-340 download software – help"));
        QTemporaryDir dir;
        Journal journal(parseJournalDestination(dir.filePath("j.sqlite")));
        journalView entries(journal.location(), &window);
        look(&entries);
        LinkSettings nowhere;
        nowhere.Port = "/nonexistent/ttyX";
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        TransferRunner runner;
        dload download(runner, nowhere, downloadPlan(downloadableForm()), &window);
        QTRY_VERIFY(download.reasonLabel()->isVisibleTo(&download));
        look(&download);
        QCOMPARE(download.statusLabel()->text(), QString("Download error.\nTip: check the device and the port settings."));
        QCOMPARE(download.reasonLabel()->text(), QString("/nonexistent/ttyX: not found"));
        Language::install({});
        QVERIFY2(left.isEmpty(), qPrintable(left.join(" | ")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
