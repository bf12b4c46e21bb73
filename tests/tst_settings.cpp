#include "windowjob.h"
#include "gui/mainwindow.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "labelfit.h"
#include "modal.h"
#include "gui/settings/chardialog.h"
#include "gui/settings/setcom.h"
#include "simulator/modulesimulator.h"
#include "core/port/portname.h"
#include "core/link/seriallink.h"
#include "core/port/portpermission.h"
#include "gui/texts/windowtexts.h"
#include "cli/phrases.h"
#include "core/journal/journalreason.h"
#include "labels/language.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QDir>
#include <QTest>

#include <memory>

// The settings dialogs and the slots that store what they return. Serial
// devices are stood in for by pseudo-terminals linked into a /dev and a sysfs
// tree of the test's own.
class TestSettings : public QObject
{
    Q_OBJECT

private:
    // A /dev whose ttyS<n> and adapter entries lead to live pseudo-terminals,
    // and a sysfs that describes the adapters as the kernel does.
    struct FakeDevices
    {
        QTemporaryDir dir;
        std::vector<std::unique_ptr<ModuleSimulator>> modules;
        DeviceLookup lookup;

        FakeDevices()
        {
            QDir(dir.path()).mkpath("dev/serial/by-id");
            QDir(dir.path()).mkpath("sys/class/tty");
            lookup.deviceDir = dir.filePath("dev");
            lookup.sysfsDir = dir.filePath("sys");
        }
        QString add(const QString &name)
        {
            modules.push_back(std::make_unique<ModuleSimulator>());
            modules.back()->start();
            QFile::link(modules.back()->slavePath(), dir.filePath("dev/" + name));
            return dir.filePath("dev/" + name);
        }
        // A USB adapter: its device, its interface under the USB device in
        // sysfs, and, when it has a serial number, its by-id link.
        QString addAdapter(const QString &name, const QString &maker, const QString &product, const QString &serial)
        {
            const QString device = add(name);
            const QString usb = dir.filePath("sys/devices/usb1/1-" + name);
            QDir().mkpath(usb + "/1-0:1.0/" + name);
            for (const auto &[file, value] : {std::pair{"idVendor", QString("0403")}, {"manufacturer", maker},
                                              {"product", product}, {"serial", serial}}) {
                QFile out(usb + "/" + file);
                out.open(QIODevice::WriteOnly);
                out.write(value.toUtf8() + "\n");
            }
            QDir().mkpath(dir.filePath("sys/class/tty/" + name));
            QFile::link("../../../devices/usb1/1-" + name + "/1-0:1.0/" + name, dir.filePath("sys/class/tty/" + name + "/device"));
            if (!serial.isEmpty())
                QFile::link("../../" + name, byId(maker, product, serial));
            return device;
        }
        QString byId(const QString &maker, const QString &product, const QString &serial) const
        {
            return dir.filePath(QString("dev/serial/by-id/usb-%1_%2_%3-if00-port0").arg(maker, product, serial).replace(' ', '_'));
        }
    };

    static QComboBox *portList(QDialog *dialog) { return dialog->findChild<QComboBox *>("comboBox"); }
    static QStringList items(const QComboBox *combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
    static QPushButton *okButton(QWidget *dialog)
    {
        return dialog->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok);
    }
    static QString portLabel(const MainWindow &window) { return window.findChild<QLabel *>("portLabel")->text(); }

private slots:
    // Every reason the core writes into the journal is phrased by the
    // command line and by the window, in Hungarian and in English.
    void everyReasonIsPhrased()
    {
        for (const QString &id : JournalReason::all()) {
            const QString reason = id + QStringLiteral(":u7");
            QVERIFY2(Phrase::journalReason(reason) != reason, qPrintable(id));
            QVERIFY2(WindowText::journalReason(reason) != reason, qPrintable(id));
            QVERIFY(Language::install("en"));
            const QString english = WindowText::journalReason(reason);
            Language::install({});
            QVERIFY2(english != reason && english != WindowText::journalReason(reason), qPrintable(id + ": " + english));
        }
        // Why a file was not written, likewise: the window's own words in
        // each language, never the system's (which say nothing of links or
        // owners) and never English on a Hungarian desktop.
        using Kind = FileError::Kind;
        for (const Kind kind : {Kind::NotRegularFile, Kind::Link, Kind::OtherOwner, Kind::FolderOwner, Kind::OpenFolder}) {
            const FileError error{kind, 0};
            const QString hungarian = WindowText::fileError(error);
            QVERIFY(Language::install("en"));
            const QString english = WindowText::fileError(error);
            Language::install({});
            QVERIFY2(!Phrase::fileError(error).isEmpty() && english == Phrase::fileError(error) && hungarian != english,
                     qPrintable(hungarian + " / " + english));
        }
        // A refused save or download: a sentence of its own for each reason.
        using Save = ContentFile::SaveProblem::Reason;
        QSet<QString> said;
        for (const Save reason : {Save::EndMark, Save::LineBreak, Save::NulCharacter, Save::NotLatin1, Save::TooLong})
            said << WindowText::unsavable({3, reason});
        for (const RecordError error : {RecordError::MissingField, RecordError::AccentedCharacter, RecordError::NotLatin1,
                                        RecordError::ControlCharacter, RecordError::FieldRule, RecordError::SeparatorInText})
            said << WindowText::downloadRefusal({error, 3, FieldRule::Digits}, '|');
        said.remove({});
        QCOMPARE(said.size(), 11);
    }

    // Built-in ports that can be opened now; every adapter the system knows,
    // by its by-id name where it has one, never opened, a busy one greyed
    // with its holder named.
    void portsOfTheSystem()
    {
        FakeDevices devices;
        devices.add("ttyS2");   // COM3
        devices.add("ttyS4");   // COM5
        devices.add("ttyS31");  // COM32 is never offered
        devices.addAdapter("ttyUSB10", "Pelda", "USB Serial", "");
        devices.addAdapter("ttyUSB2", "FTDI", "FT232R USB UART", "A12345");
        devices.addAdapter("ttyACM0", "Pelda", "Modem", "M1");
        const QString busy = devices.addAdapter("ttyUSB1", "Pelda", "Cable", "");
        SerialLink holder;
        QCOMPARE(holder.open(busy, 1500), SerialLink::OpenStatus::Opened);
        QStringList opened;
        DeviceLookup lookup = devices.lookup;
        lookup.probe = [&opened](const QString &path) {
            opened << QFileInfo(path).fileName();
            return SerialDevice::probe(path);
        };

        setcom current("COM5", 1200, nullptr, lookup);
        QCOMPARE(current.windowTitle(), QString("Port options"));
        const QString ftdi = devices.byId("FTDI", "FT232R USB UART", "A12345");
        QCOMPARE(items(portList(&current)), QStringList({"COM3", "COM5", devices.byId("Pelda", "Modem", "M1"), "ttyUSB1",
                                                           ftdi, "ttyUSB10", "Szimulált modul"}));
        QCOMPARE(current.port(), QString("COM5"));
        QVERIFY(portList(&current)->isEditable());
        for (const QString &name : std::as_const(opened))
            QVERIFY2(name.startsWith("ttyS"), qPrintable(name));  // adapters are never opened
        const auto *model = qobject_cast<QStandardItemModel *>(portList(&current)->model());
        QVERIFY(!model->item(3)->isEnabled());
        QVERIFY(model->item(4)->isEnabled());
        QCOMPARE(portList(&current)->itemData(4, Qt::ToolTipRole).toString().section('\n', 0, 1),
                 "FTDI FT232R USB UART (A12345)\n" + devices.dir.filePath("dev/ttyUSB2"));
        const QLabel *hint = current.findChild<QLabel *>("permissionHint");
        QVERIFY(hint->isVisibleTo(&current));
        QCOMPARE(hint->text(), QString("%1: foglalt (tst_settings, %2)")
                                   .arg(QFileInfo(busy).canonicalFilePath().mid(5)).arg(QCoreApplication::applicationPid()));
        QCOMPARE(clippedLabels(&current), QStringList());

        // What the journal keeps of an adapter, by any of its names.
        const PortEntry described = describeAdapter(ftdi, devices.lookup);
        QCOMPARE(described.byId + " " + described.serial, ftdi + " A12345");

        setcom missing("COM1", 1200, nullptr, devices.lookup);
        QCOMPARE(missing.port(), QString("COM3"));
        setcom adapter(ftdi, 1200, nullptr, devices.lookup);
        QCOMPARE(adapter.port(), ftdi);
        setcom held("ttyUSB1", 1200, nullptr, devices.lookup);
        QCOMPARE(held.port(), QString("COM3"));  // a busy adapter is not chosen
        setcom simulated("Szimulált modul", 1200, nullptr, devices.lookup);
        QCOMPARE(simulated.port(), SimulatedModulePort);
    }

    // The list is read again when it drops down: an adapter plugged in while
    // the dialog is open appears, and the choice stays.
    void adapterPluggedInWhileOpen()
    {
        FakeDevices devices;
        devices.add("ttyS0");
        setcom dialog("COM1", 1200, nullptr, devices.lookup);
        dialog.show();
        QCOMPARE(items(portList(&dialog)), QStringList({"COM1", "Szimulált modul"}));
        devices.addAdapter("ttyUSB0", "FTDI", "FT232R USB UART", "B777");
        portList(&dialog)->showPopup();
        QCOMPARE(items(portList(&dialog)),
                 QStringList({"COM1", devices.byId("FTDI", "FT232R USB UART", "B777"), "Szimulált modul"}));
        QCOMPARE(dialog.port(), QString("COM1"));
        portList(&dialog)->hidePopup();
    }

    void baudList()
    {
        FakeDevices devices;
        setcom dialog("COM1", 1200, nullptr, devices.lookup);
        const QComboBox *bauds = dialog.findChild<QComboBox *>("baudrate");
        QVERIFY(!bauds->isEnabled());
        QCOMPARE(items(bauds), QStringList({"150", "200", "300", "600", "1200", "1800", "2400", "4800",
                                            "9600", "19200", "38400", "57600", "76800", "115200"}));
        QCOMPARE(dialog.baudrate(), 1200);
        setcom odd("COM1", 1234, nullptr, devices.lookup);
        QCOMPARE(odd.baudrate(), 150);
    }

    // With no real port, nothing is chosen for the technician: above all not
    // the simulated module, which would answer for a module that is absent.
    void noPortFound()
    {
        FakeDevices devices;
        MainWindow window;
        window.setDeviceLookup(devices.lookup);
        QStringList offered, clipped;
        int current = 0;
        QString hint;
        ModalDriver accept([&](QWidget *modal) {
            auto *dialog = qobject_cast<setcom *>(modal);
            if (!dialog)
                return false;
            offered = items(portList(dialog));
            current = portList(dialog)->currentIndex();
            const QLabel *hintLabel = dialog->findChild<QLabel *>("permissionHint");
            hint = hintLabel->isVisibleTo(dialog) ? hintLabel->text() : QString();
            clipped = clippedLabels(dialog);
            okButton(dialog)->click();
            return true;
        });
        window.show_port();
        QCOMPARE(offered, QStringList({"Szimulált modul"}));
        QCOMPARE(current, -1);
        QCOMPARE(hint, QString("Nem található soros port."));
        QCOMPARE(clipped, QStringList());
        QCOMPARE(window.linkSettings().Port, QString());
        MessageBoxRecorder recorder;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        window.readup();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("Sikertelen kiolvasás.\nNem lehet megnyitni a portot.\nNincs port kiválasztva."));
    }

    // The advice comes from the device's mode and group and the user's
    // groups: never "join root".
    void permissionIsExplained_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("rootGroup");
        QTest::addColumn<bool>("inAccount");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("cli");
        const QString rule = R"(KERNEL=="ttyUSB0", GROUP="%1", MODE="0660")";
        QTest::newRow("root only") << 0600 << true << false
            << ". Az eszközt csak a root használhatja: egy udev-szabály adhatja egy csoportnak, például ez a sor a "
               "/etc/udev/rules.d/99-tavir340.rules fájlban: " + rule.arg("dialout")
            << "; only root may open it: a udev rule must give it to a group, for example this line in "
               "/etc/udev/rules.d/99-tavir340.rules: " + rule.arg("dialout");
        QTest::newRow("group may not write") << 0600 << false << true
            << ". A(z) „dialout” csoport nem írhatja az eszközt (0600): egy udev-szabály adhatja meg, például ez a sor a "
               "/etc/udev/rules.d/99-tavir340.rules fájlban: " + rule.arg("dialout")
            << "; the group dialout may not write to it (mode 0600): a udev rule must give it, for example this line in "
               "/etc/udev/rules.d/99-tavir340.rules: " + rule.arg("dialout");
        QTest::newRow("in the group, not in this session") << 0660 << false << true
            << ". A felhasználó már tagja a(z) „dialout” csoportnak, de ebben a munkamenetben még nem: jelentkezzen ki és be újra (vagy: newgrp dialout)."
            << "; you are in the group dialout, but not in this session yet: log out and in again (or: newgrp dialout)";
        QTest::newRow("not in the group") << 0660 << false << false
            << ". Megoldás: sudo usermod -aG dialout $USER, majd új bejelentkezés."
            << "; the fix: sudo usermod -aG dialout $USER, then log in again";
    }
    void permissionIsExplained()
    {
        QFETCH(int, mode);
        QFETCH(bool, rootGroup);
        QFETCH(bool, inAccount);
        QFETCH(QString, window);
        QFETCH(QString, cli);
        const PermissionAdvice advice = adviseOn({"/dev/ttyUSB0", mode, rootGroup, rootGroup ? "root" : "dialout", false, inAccount});
        QCOMPARE(WindowText::permissionFix(advice), window);
        QCOMPARE(Phrase::permissionFix(advice), cli);
    }

    void permissionHintInThePortDialog()
    {
        FakeDevices devices;
        const QString denied = devices.addAdapter("ttyUSB0", "Pelda", "Cable", "");
        devices.addAdapter("ttyUSB1", "Pelda", "Cable", "");
        DeviceLookup lookup = devices.lookup;
        lookup.inspect = [denied](const QString &path) {
            SerialDevice::PortState state = SerialDevice::inspect(path);
            if (path == denied) {
                state.access = SerialDevice::Access::NoPermission;
                state.group = SerialDevice::owningGroup(path);
                state.permission = permissionAdvice(path);
            }
            return state;
        };
        setcom dialog("COM1", 1200, nullptr, lookup);
        QCOMPARE(items(portList(&dialog)), QStringList({"ttyUSB0", "ttyUSB1", "Szimulált modul"}));
        QCOMPARE(dialog.port(), QString("ttyUSB1"));
        const QLabel *hint = dialog.findChild<QLabel *>("permissionHint");
        QVERIFY(hint->isVisibleTo(&dialog));
        QCOMPARE(hint->text(), "ttyUSB0: nincs jogosultság" + WindowText::permissionFix(permissionAdvice(denied)));
        QCOMPARE(clippedLabels(&dialog), QStringList());
    }

    void showPortStoresTheChoice()
    {
        FakeDevices devices;
        devices.add("ttyS2");
        MainWindow window;
        window.setDeviceLookup(devices.lookup);
        QCOMPARE(portLabel(window), QString("COM1  Baud: 1200"));

        ModalDriver cancel([](QWidget *modal) {
            auto *dialog = qobject_cast<setcom *>(modal);
            if (dialog)
                dialog->reject();
            return dialog != nullptr;
        });
        window.show_port();
        QCOMPARE(window.linkSettings().Port, QString("COM1"));
        QCOMPARE(portLabel(window), QString("COM1  Baud: 1200"));
    }

    void showPortAccepted()
    {
        FakeDevices devices;
        devices.add("ttyS2");
        MainWindow window;
        window.setDeviceLookup(devices.lookup);
        {
            ModalDriver accept([](QWidget *modal) {
                auto *dialog = qobject_cast<setcom *>(modal);
                if (dialog)
                    okButton(dialog)->click();
                return dialog != nullptr;
            });
            window.show_port();
        }
        QCOMPARE(window.linkSettings().Port, QString("COM3"));
        QCOMPARE(window.linkSettings().Baudrate, 1200);
        QCOMPARE(portLabel(window), QString("COM3 Baud: 1200"));

        // A typed device path is taken as it stands.
        ModalDriver typed([](QWidget *modal) {
            auto *dialog = qobject_cast<setcom *>(modal);
            if (dialog) {
                portList(dialog)->setEditText("/dev/serial/by-id/usb-FTDI-if00");
                okButton(dialog)->click();
            }
            return dialog != nullptr;
        });
        window.show_port();
        QCOMPARE(window.linkSettings().Port, QString("/dev/serial/by-id/usb-FTDI-if00"));
    }

    void oneCharacterDialogs()
    {
        setAck ack(nullptr, 'O');
        QCOMPARE(ack.windowTitle(), QString("ACK char"));
        QCOMPARE(ack.size(), QSize(286, 114));
        QLineEdit *field = ack.findChild<QLineEdit *>("i_char");
        QCOMPARE(field->text(), QString("O"));
        QCOMPARE(field->maxLength(), 1);
        QCOMPARE(ack.findChild<QLabel *>("label")->text(), QString("ACK Char:"));
        QVERIFY(okButton(&ack)->isEnabled());
        field->clear();
        QVERIFY(!okButton(&ack)->isEnabled());
        QTest::keyClicks(field, "KX");
        QCOMPARE(field->text(), QString("K"));
        QVERIFY(okButton(&ack)->isEnabled());

        QCOMPARE(clippedLabels(&ack), QStringList());

        setFix fix(nullptr);
        QCOMPARE(fix.windowTitle(), QString("CHKS Char"));
        QCOMPARE(fix.findChild<QLabel *>("label")->text(), QString("CHKS Char:"));
        QVERIFY(fix.findChild<QLineEdit *>("i_char")->text().isEmpty());
        QVERIFY(!okButton(&fix)->isEnabled());

        setUC uc(nullptr, '{');
        QCOMPARE(uc.windowTitle(), QString("Upload Command"));
        QCOMPARE(uc.findChild<QLabel *>("label")->text(), QString("Upload Command: "));
        QCOMPARE(uc.findChild<QLineEdit *>("i_char")->text(), QString("{"));

        separators seps(nullptr, '|', '#');
        QCOMPARE(seps.windowTitle(), QString("Separators"));
        QCOMPARE(seps.findChild<QLineEdit *>("c_ds")->text(), QString("|"));
        QCOMPARE(seps.findChild<QLineEdit *>("c_us")->text(), QString("#"));
        QVERIFY(okButton(&seps)->isEnabled());
        seps.findChild<QLineEdit *>("c_us")->clear();
        QVERIFY(!okButton(&seps)->isEnabled());
        seps.findChild<QLineEdit *>("c_us")->setText("x");
        seps.findChild<QLineEdit *>("c_ds")->clear();
        QVERIFY(!okButton(&seps)->isEnabled());
        for (QDialog *dialog : std::initializer_list<QDialog *>{&fix, &uc, &seps})
            QCOMPARE(clippedLabels(dialog), QStringList());
    }

    void characterSlots()
    {
        MainWindow window;
        window.linkSettings().FilePath = "conf.t16";
        auto answer = [](const char *objectName, QList<QPair<const char *, QString>> fields, bool ok) {
            return [=](QWidget *modal) {
                if (modal->objectName() != QLatin1String(objectName))
                    return false;
                for (const auto &field : fields)
                    modal->findChild<QLineEdit *>(field.first)->setText(field.second);
                if (ok)
                    okButton(modal)->click();
                else
                    static_cast<QDialog *>(modal)->reject();
                return true;
            };
        };

        window.setChks16();
        {
            ModalDriver driver(answer("setFix", {{"i_char", "X"}}, true));
            window.setFixChar();
        }
        QCOMPARE(window.linkSettings().CheckSize, 'X');
        {
            ModalDriver driver(answer("setFix", {{"i_char", "Y"}}, false));
            window.setFixChar();
        }
        QCOMPARE(window.linkSettings().CheckSize, 'X');
        {
            ModalDriver driver(answer("setAck", {{"i_char", "\u0151"}}, true));  // not in Latin-1
            window.setAckChar();
        }
        QCOMPARE(window.linkSettings().AckChar, '?');
        {
            ModalDriver driver(answer("separators", {{"c_ds", "#"}, {"c_us", "\u00A4"}}, true));
            window.setSeparators();
        }
        QCOMPARE(window.linkSettings().DownloadSeparator, '#');
        QCOMPARE(window.linkSettings().UploadSeparator, '\xA4');
        {
            ModalDriver driver(answer("setUC", {{"i_char", "U"}}, true));
            window.setUploadCommand();
        }
        QCOMPARE(window.linkSettings().UploadCommand, 'U');

        MessageBoxRecorder recorder;
        window.show_info();
        QCOMPARE(recorder.boxes[0].text,
                 QString("Port: COM1\nBaudrate: B1200\nTimeout: 2000\nCHKS: X\nACK char: ?\nCheckvalue: 0\n"
                         "Download Separator: #\nUpload Separator: \u00A4\nUpload Command: U\n"));
    }

    void builtInSimulatedModule()
    {
        FakeDevices devices;
        auto owner = std::make_unique<MainWindow>();
        MainWindow &window = *owner;
        window.setDeviceLookup(devices.lookup);
        ModalDriver choose([](QWidget *modal) {
            auto *dialog = qobject_cast<setcom *>(modal);
            if (dialog) {
                portList(dialog)->setCurrentText("Szimulált modul");
                okButton(dialog)->click();
            }
            return dialog != nullptr;
        });
        window.show_port();
        QCOMPARE(window.linkSettings().Port, SimulatedModulePort);
        QCOMPARE(portLabel(window), QString("Szimulált modul Baud: 1200"));

        const QStringList visible = {"36209300099", "1234", "42", "SZIMULALT", "0", "BE1", "BE2", "7",
                                     "a", "b", "c", "d", "e", "f", "g", "h"};
        QList<QLineEdit *> edits = formLineEdits(window.centralWidget());
        for (int i = 0; i < visible.size(); ++i)
            edits[i]->setText(visible[i]);
        edits[30]->setText("36301112222");
        formCheckBoxes(window.centralWidget())[9]->setChecked(true);
        const FormValues sent = readForm(window.centralWidget());

        QString status;
        QStringList clipped;
        ModalDriver download([&](QWidget *modal) {
            auto *label = modal->findChild<QLabel *>("kiiras");
            if (!label || label->text() == "Betöltés...")
                return false;
            status = label->text();
            clipped = clippedLabels(modal);
            static_cast<QDialog *>(modal)->accept();
            return true;
        });
        window.download();
        QVERIFY(jobEnds(window));
        QCOMPARE(status, QString("Sikeres betöltés.\nSzimulált modul: valódi eszköz nem lett írva."));
        QCOMPARE(clipped, QStringList());

        // Read back into a cleared form: what was downloaded comes back.
        for (QLineEdit *edit : edits)
            edit->clear();
        MessageBoxRecorder recorder;
        window.readup();
        QVERIFY(jobEnds(window));
        QVERIFY(recorder.boxes.isEmpty());
        FormValues expected = sent;
        expected.texts[7] = "0007";
        QCOMPARE(readForm(window.centralWidget()), expected);
        QCOMPARE(window.form().smskp_combo->currentIndex(), 1);

        window.verify_func();

        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("Ellenőrzés"));
        QCOMPARE(recorder.boxes[0].text, QString("Sikeres ellenőrzés.\nSzimulált modul: valódi eszköz nem lett ellenőrizve."));

        // Once the module has stopped, its name leads to no pseudo-terminal.
        QVERIFY(SerialDevice::devicePath(SimulatedModulePort).startsWith("/dev/pts/"));
        owner.reset();
        QCOMPARE(SerialDevice::devicePath(SimulatedModulePort), "/dev/" + SimulatedModulePort);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
