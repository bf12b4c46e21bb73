#include "windowjob.h"
#include "gui/mainwindow.h"
#include "gui/transfer/answerprogress.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "labelfit.h"
#include "modal.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "core/record/contentrecord.h"
#include "gui/transfer/dload.h"
#include "core/operations/transferrunner.h"
#include "core/link/seriallink.h"
#include "core/journal/journal.h"
#include "core/journal/journalreason.h"
#include "gui/texts/windowtexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <QClipboard>

namespace {
// The window's sentences are checked through its phrase book: the tests
// below say which reason the window gave, not how it words it.
QString reason(const QString &id, const QString &value = {})
{
    return WindowText::journalReason(value.isEmpty() ? id : JournalReason::withValue(id, value));
}

QString refusal(RecordError error, int field, FieldRule rule = FieldRule::None)
{
    return WindowText::downloadRefusal({error, field, rule}, '|');
}
} // namespace

// Download, read-up and verify through the window's slots, against the
// simulated module on a pseudo-terminal, with the real dialogs.
class TestTransfers : public QObject
{
    Q_OBJECT

private:
    static void fillForm(MainWindow &window)
    {
        FormValues form = downloadableForm();
        form.texts[21] = "hidden r21";
        form.texts[28] = "36201234567";
        form.texts[43] = "3670";
        form.checked[0] = form.checked[3] = form.checked[63] = true;
        writeForm(window.centralWidget(), form);
    }

    // The window's port is the simulated module, and its form is filled.
    [[nodiscard]] static bool attach(ModuleSimulator &sim, MainWindow &window)
    {
        if (!sim.start())
            return false;
        window.linkSettings().Port = sim.slavePath();
        fillForm(window);
        return true;
    }

    static QList<QByteArray> moduleFields()
    {
        QList<QByteArray> f;
        for (int i = 0; i < 28; ++i)
            f << "M" + QByteArray::number(i);
        f[0] = "36209300099";
        f[5] = "  lead   ";
        for (int n = 1; n <= 16; ++n)
            f << "00" + QByteArray::number(n);
        f[28] = "313620111";
        f[29] = "74";
        return f;
    }

    struct DownloadOutcome
    {
        QString status;
        QString reason;        // the line under it
        QStringList clipped;   // labels that do not show their whole text
        bool okEnabled = false;
        bool closedByItself = false;  // accepted two seconds after the outcome, nothing pressed
        bool ended = false;           // the job ended, boxes and all
    };

    // Runs the download slot and waits for the dialog to report, then
    // presses Enter on a failure or lets a success close by itself.
    static DownloadOutcome runDownload(MainWindow &window)
    {
        DownloadOutcome outcome;
        QElapsedTimer sinceOutcome;
        int result = -1;
        qint64 shownMs = -1;
        ModalDriver driver([&](QWidget *modal) {
            auto *dialog = qobject_cast<dload *>(modal);
            if (!dialog || dialog->statusLabel()->text() == "Betöltés...")
                return false;
            sinceOutcome.start();
            outcome.status = dialog->statusLabel()->text();
            outcome.reason = dialog->reasonLabel()->isVisibleTo(dialog) ? dialog->reasonLabel()->text() : QString();
            outcome.clipped = clippedLabels(dialog);
            QPushButton *ok = dialog->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok);
            outcome.okEnabled = ok && ok->isEnabled();
            connect(dialog, &QDialog::finished, dialog, [&](int code) {
                result = code;
                shownMs = sinceOutcome.elapsed();
            });
            if (!outcome.status.startsWith("Sikeres betöltés."))
                QTest::keyClick(dialog, Qt::Key_Return);  // Enter closes the result, as any box
            return true;
        });
        window.download();
        outcome.ended = jobEnds(window);
        // A coarse timer may fire up to 5 % early.
        outcome.closedByItself = result == QDialog::Accepted && shownMs >= 1990;
        return outcome;
    }

private slots:
    void downloadSucceeds()
    {
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        MessageBoxRecorder recorder;
        const DownloadOutcome outcome = runDownload(window);
        QCOMPARE(outcome.status, QString("Sikeres betöltés."));
        QVERIFY(outcome.okEnabled);
        QVERIFY(outcome.closedByItself);
        QVERIFY(recorder.boxes.isEmpty());

        LinkSettings expected;
        buildContentRecord(readForm(window.centralWidget()), expected, RecordPurpose::Download);
        QCOMPARE(window.linkSettings().RecordText, expected.RecordText);
        QByteArray bytes = "~}";
        for (const QString &item : expected.RecordText.split('|'))
            bytes += item.toLatin1() + '\r';
        QCOMPARE(sim.received(), bytes);
        QCOMPARE(sim.fields()[28], QByteArray("2136201234567   "));
        QCOMPARE(sim.fields()[43], QByteArray("103670          "));
        QVERIFY(SerialLink::probe(sim.slavePath()));
    }

    void downloadDialogLayout()
    {
        LinkSettings settings;
        settings.Port = "/nonexistent/ttyX";
        QWidget parent;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        TransferRunner runner;
        dload dialog(runner, settings, downloadPlan(downloadableForm()), &parent);
        QCOMPARE(dialog.windowTitle(), QString("Betöltés"));
        QCOMPARE(dialog.size(), QSize(262, 118));
        QCOMPARE(dialog.statusLabel()->objectName(), QString("kiiras"));
        QVERIFY(!dialog.findChild<QDialogButtonBox *>("buttonBox")->isEnabled());
        QVERIFY(!dialog.findChild<QLabel *>("label")->pixmap().isNull());
        dialog.show();
        dialog.close();  // the close control is ignored
        QVERIFY(dialog.isVisible());
        QTRY_COMPARE(dialog.statusLabel()->text(),
                     QString("Betöltés hiba.\nTipp: ellenőrizze az eszközt és a portbeállításokat."));
        QCOMPARE(clippedLabels(&dialog), QStringList());
    }

    void downloadToAMissingPort()
    {
        MainWindow window;
        window.linkSettings().Port = "/nonexistent/ttyX";
        fillForm(window);
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        const DownloadOutcome outcome = runDownload(window);
        QCOMPARE(outcome.status, QString("Betöltés hiba.\nTipp: ellenőrizze az eszközt és a portbeállításokat."));
        QVERIFY(outcome.okEnabled);
        QVERIFY(!outcome.closedByItself);
    }

    // A failed download says why under its own text: a wrong answer with its
    // bytes, a port another program holds.
    void downloadFailures_data()
    {
        QTest::addColumn<QByteArray>("ready");
        QTest::addColumn<QByteArray>("ack");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no R") << QByteArray("X>") << QByteArray("OK") << false << "A modul nem a várt választ adta (kapott bájtok: 58).";
        QTest::newRow("xx") << QByteArray("R>") << QByteArray("xx") << false << "Hibás nyugtázás (kapott bájtok: 78 78).";
        QTest::newRow("held by another program") << QByteArray("R>") << QByteArray("OK") << true
                                                 << QString("%1: foglalt (tst_transfers, %2)");
    }
    void downloadFailures()
    {
        QFETCH(QByteArray, ready);
        QFETCH(QByteArray, ack);
        QFETCH(bool, held);
        QFETCH(QString, reason);
        SimulatorOptions options;
        options.readyReply = ready;
        options.ackReply = ack;
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        SerialLink holder;
        if (held) {
            QCOMPARE(holder.open(sim.slavePath(), 1500), SerialLink::OpenStatus::Opened);
            reason = reason.arg(sim.slavePath().mid(5)).arg(QCoreApplication::applicationPid());
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        }
        MainWindow window;
        window.linkSettings().Port = sim.slavePath();
        fillForm(window);
        const DownloadOutcome outcome = runDownload(window);
        QCOMPARE(outcome.status, QString("Betöltés hiba.\nTipp: ellenőrizze az eszközt és a portbeállításokat."));
        QCOMPARE(outcome.reason, reason);
        QCOMPARE(outcome.clipped, QStringList());
        if (ready != "R>")
            QCOMPARE(sim.received(), QByteArray("~}"));  // not a byte of the record
    }

    // Four unused output texts left empty: one box names them all and marks
    // them all, so that one round fills them.
    void everyEmptyFieldNamedAtOnce()
    {
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        for (int field = 8; field <= 11; ++field)
            formLineEdits(window.centralWidget())[field]->clear();
        QTest::ignoreMessage(QtDebugMsg, "ki3_on");
        MessageBoxRecorder recorder;
        window.download();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("Az összes mező kitöltése kötelező.\nKitöltetlen mezők: „3-as kimenet bekapcsoláskor”, "
                                                 "„4-es kimenet bekapcsoláskor”, „3-as kimenet kikapcsoláskor”, „4-es kimenet kikapcsoláskor”."));
        for (int field = 8; field <= 11; ++field)
            QVERIFY(FieldMarks::isMarked(formLineEdits(window.centralWidget())[field]));
        QVERIFY(sim.received().isEmpty());
    }

    void recordRefusedBeforeTheDialog_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty field") << 4 << "" << "Az összes mező kitöltése kötelező.\nKitöltetlen mező: „Visszaállás”.";
        QTest::newRow("accent") << 20 << "\u00E9" << "Ékezetes karakterek nem használhatóak.";
        QTest::newRow("separator") << 3 << "A|B" << refusal(RecordError::SeparatorInText, 3);
        QTest::newRow("line end in a hidden field") << 17 << "a\rb" << refusal(RecordError::ControlCharacter, 17);
        QTest::newRow("accent in the name") << 3 << "KAP\u00C9" << "Ékezetes karakterek nem használhatóak.";
        QTest::newRow("letter in a telephone") << 28 << "3620a" << refusal(RecordError::FieldRule, 28, FieldRule::TelephoneDigits);
    }
    void recordRefusedBeforeTheDialog()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        formLineEdits(window.centralWidget())[field]->setText(text);
        if (text.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, "visszaallas");
        bool dialogShown = false;
        MessageBoxRecorder recorder([&](QWidget *modal) { return dialogShown = qobject_cast<dload *>(modal); });
        QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!dialogShown);
        QCOMPARE(recorder.boxes.size(), 1);  // the field's own check did not run under it
        QCOMPARE(formLineEdits(window.centralWidget())[field]->text(), text);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(recorder.boxes[0].title, QString("Betöltés hiba."));
        QCOMPARE(recorder.boxes[0].text, message);
        QVERIFY(sim.received().isEmpty());
        // The refused field is marked on the form, with why as its tool tip.
        QLineEdit *refused = formLineEdits(window.centralWidget())[field];
        QVERIFY(FieldMarks::isMarked(refused));
        QCOMPARE(refused->toolTip(), message);
        if (field < RequiredFieldCount)  // a hidden field cannot take the focus
            QCOMPARE(window.focusWidget(), refused);
    }

    // A letter typed into a telephone number and Ctrl+D at once, without
    // leaving the field: the field gets the check that leaving would give,
    // and not a byte goes to the module.
    void downloadChecksTheFieldBeingEdited()
    {
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QLineEdit *phone = formLineEdits(window.centralWidget())[28];
        phone->setFocus();
        phone->clear();
        phone->insert("36\u015120");
        bool dialogShown = false;
        MessageBoxRecorder recorder([&](QWidget *modal) { return dialogShown = qobject_cast<dload *>(modal); });
        QTest::keyClick(phone, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("Input error"));
        QCOMPARE(recorder.boxes[0].text, QString("Telephone number: only numbers."));
        QVERIFY(phone->text().isEmpty());
        QVERIFY(!dialogShown);
        QVERIFY(sim.received().isEmpty());
    }

    void escapeAbandonsARunningDownload()
    {
        SimulatorOptions options;
        options.readyReply = "R";  // the worker then waits 5 s for a second byte
        options.downloadIdleMs = 100;
        ModuleSimulator sim(options);
        MainWindow window;
        QVERIFY(attach(sim, window));
        MessageBoxRecorder recorder([](QWidget *modal) {
            auto *dialog = qobject_cast<dload *>(modal);
            if (!dialog || dialog->progressBar()->value() != 10)
                return false;
            QTest::keyClick(dialog, Qt::Key_Escape);
            return true;
        });
        QTemporaryDir journal;
        window.setJournalLocation(parseJournalDestination(journal.filePath("j.sqlite")));
        window.download();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("Betöltés"));
        QCOMPARE(recorder.boxes[0].text, WindowText::abandonedDownload(true));
        // Ended by the Escape, not by the worker's read giving up: the
        // journal says so, with the request that went out.
        Journal read(parseJournalDestination(journal.filePath("j.sqlite")), Journal::Mode::Read);
        const QList<JournalEntry> entries = read.find({});
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].result, JournalName::Interrupted);
        QCOMPARE(entries[0].bytesSent, 2);

        // The port is free at once, and the module saw nothing after the
        // request: once it has given up on the download, a request of ours
        // is the next thing it sees.
        QTRY_VERIFY(sim.isIdle());
        SerialLink link;
        QCOMPARE(link.open(sim.slavePath(), 1500), SerialLink::OpenStatus::Opened);
        QCOMPARE(link.writeByte('~'), 1);
        QCOMPARE(link.writeByte('}'), 1);
        QCOMPARE(link.readByte(), std::optional<unsigned char>('R'));
        QCOMPARE(sim.received(), QByteArray("~}~}"));
    }

    void readupFillsTheForm()
    {
        for (const QByteArray &preamble : {QByteArray(), QByteArray("boot\r\r")}) {
            SimulatorOptions options;
            options.preamble = preamble;
            ModuleSimulator sim(options);
            QVERIFY(sim.start());
            QList<QByteArray> fields = moduleFields();
            for (QByteArray &f : fields)
                f = f.leftJustified(16, '\xFF');
            sim.setFields(fields);
            MainWindow window;
            window.linkSettings().Port = sim.slavePath();
            formCheckBoxes(window.centralWidget())[7]->setChecked(true);  // tc2_2: cleared by 4
            MessageBoxRecorder recorder;
            window.readup();
            QVERIFY(jobEnds(window));
            QVERIFY(recorder.boxes.isEmpty());

            const QList<QLineEdit *> edits = formLineEdits(window.centralWidget());
            QCOMPARE(edits[0]->text(), QString("36209300099"));
            QCOMPARE(edits[1]->text(), QString("M1"));
            QCOMPARE(edits[5]->text(), QString("  lead"));
            QCOMPARE(edits[27]->text(), QString("M27"));
            QCOMPARE(edits[28]->text(), QString("3620111"));
            QCOMPARE(edits[29]->text(), QString());
            QCOMPARE(edits[43]->text(), QString("16"));
            const QList<QCheckBox *> boxes = formCheckBoxes(window.centralWidget());
            QStringList checked;
            for (const QCheckBox *box : boxes)
                if (box->isChecked())
                    checked << box->objectName();
            QCOMPARE(checked, QStringList({"tc1_1", "tc2_1", "tc4_1", "tc1_2", "tc2_2"}));
            QCOMPARE(window.form().smskp_combo->currentIndex(), 1);
            QVERIFY(!window.form().smskp->isEnabled());
            QVERIFY(SerialLink::probe(sim.slavePath()));
        }
    }

    void readupFailures_data()
    {
        QTest::addColumn<QByteArray>("answer");  // null: a silent module
        QTest::addColumn<QString>("debug");
        QTest::addColumn<QString>("reason");
        QList<QByteArray> fields = moduleFields();
        QTest::newRow("43 fields") << ModuleSimulator::uploadAnswer(fields.mid(0, 43)) << "dberror 43 44"
                                   << reason(JournalReason::FieldCount, "43");
        QTest::newRow("45 fields") << ModuleSimulator::uploadAnswer(fields + QList<QByteArray>{"x"})
                                   << "dberror 45 44" << reason(JournalReason::FieldCount, "45");
        QTest::newRow("silent") << QByteArray() << "sep error" << reason(JournalReason::NoAnswer);
    }
    void readupFailures()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, debug);
        QFETCH(QString, reason);
        SimulatorOptions options;
        options.silent = answer.isNull();
        if (!answer.isNull())
            options.scriptedAnswer = answer;
        ModuleSimulator sim(options);
        MainWindow window;
        QVERIFY(attach(sim, window));
        const FormValues before = readForm(window.centralWidget());
        MessageBoxRecorder recorder;
        QTest::ignoreMessage(QtDebugMsg, qPrintable(debug));
        window.readup();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(recorder.boxes[0].title, QString("Hiba"));
        QCOMPARE(recorder.boxes[0].text, "Sikertelen kiolvasás.\nEllenőrizze az eszközt, és próbálja meg újra!\n" + reason);
        QCOMPARE(readForm(window.centralWidget()), before);
        QCOMPARE(window.form().smskp_combo->currentIndex(), 0);
        QVERIFY(SerialLink::probe(sim.slavePath()));
    }

    // While a read-up waits on a silent module, the window serves its events,
    // and its keys start no second transfer: one box, one journal entry, one
    // request on the line.
    void keysStartNothingDuringATransfer()
    {
        SimulatorOptions options;
        options.silent = true;
        ModuleSimulator sim(options);
        MainWindow window;
        QVERIFY(attach(sim, window));
        QTemporaryDir journal;
        window.setJournalLocation(parseJournalDestination(journal.filePath("j.sqlite")));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const FormValues before = readForm(window.centralWidget());
        // Once the read-up's dialog is there, the request is on its way.
        bool served = false;
        QTimer keys;
        connect(&keys, &QTimer::timeout, [&] {
            if (served || !window.findChild<QProgressDialog *>())
                return;
            served = true;
            QApplication::setActiveWindow(&window);  // the bar is not up yet
            for (const Qt::Key key : {Qt::Key_R, Qt::Key_V, Qt::Key_D})
                QTest::keyClick(window.form().lineEdits[3], key, Qt::ControlModifier);
        });
        keys.start(1);
        MessageBoxRecorder recorder;
        QTest::ignoreMessage(QtDebugMsg, "sep error");
        window.readup();
        QVERIFY(jobEnds(window));
        QVERIFY(served);
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, "Sikertelen kiolvasás.\nEllenőrizze az eszközt, és próbálja meg újra!\n" + reason(JournalReason::NoAnswer));
        QCOMPARE(Journal(parseJournalDestination(journal.filePath("j.sqlite")), Journal::Mode::Read).find({}).size(), 1);
        QCOMPARE(sim.received(), QByteArray("~{"));
        QCOMPARE(readForm(window.centralWidget()), before);
    }

    // Ctrl+V in a field verifies, as the menu says, and leaves the field as
    // it was; Shift+Insert still pastes.
    void ctrlVVerifiesWhereverTheCursorIs()
    {
        MainWindow window;
        window.linkSettings().Port = "/nonexistent/ttyX";
        fillForm(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *name = window.findChild<QLineEdit *>("m_nev");
        const QString kept = name->text();
        name->setFocus();
        name->selectAll();
        QGuiApplication::clipboard()->setText("36301234567");
        MessageBoxRecorder recorder;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("Sikertelen ellenőrzés.\nNem lehet megnyitni a portot.\n/nonexistent/ttyX: nem található"));
        QCOMPARE(name->text(), kept);
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(name->text(), QString("36301234567"));
    }

    // A port that is not there; a USB adapter that is gone is said to be
    // unplugged, not found.
    void readupFromAMissingPort_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("why");
        QTest::newRow("a path") << "/nonexistent/ttyX" << "/nonexistent/ttyX: nem található";
        QTest::newRow("a USB adapter") << "/dev/serial/by-id/usb-Gone_Adapter-if00-port0"
                                       << "serial/by-id/usb-Gone_Adapter-if00-port0: az adapter nincs csatlakoztatva";
    }
    void readupFromAMissingPort()
    {
        QFETCH(QString, port);
        QFETCH(QString, why);
        MainWindow window;
        window.linkSettings().Port = port;
        MessageBoxRecorder recorder;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        window.readup();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("Hiba"));
        QCOMPARE(recorder.boxes[0].text, "Sikertelen kiolvasás.\nNem lehet megnyitni a portot.\n" + why);
    }

    void cancelledTransfersChangeNothing()
    {
        SimulatorOptions options;
        options.paced = true;  // six seconds of answer: time to cancel
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        sim.setFields(moduleFields());
        MainWindow window;
        window.linkSettings().Port = sim.slavePath();
        fillForm(window);
        const FormValues before = readForm(window.centralWidget());
        MessageBoxRecorder recorder;
        QTimer canceller;
        connect(&canceller, &QTimer::timeout, [&window] {
            if (auto *progress = window.findChild<QProgressDialog *>())
                if (progress->value() > 20)
                    progress->cancel();
        });
        canceller.start(2);
        window.readup();
        QVERIFY(jobEnds(window));
        QVERIFY(recorder.boxes.isEmpty());
        QCOMPARE(readForm(window.centralWidget()), before);
        QVERIFY(SerialLink::probe(sim.slavePath()));
        QVERIFY(!window.findChild<QProgressDialog *>());
        QCOMPARE(sim.received(), QByteArray("~{"));

        // A fresh line for verify, so that it cancels its own answer and not
        // the rest of the one before.
        sim.stop();
        QVERIFY(sim.start());
        window.linkSettings().Port = sim.slavePath();
        window.verify_func();
        QVERIFY(jobEnds(window));
        QVERIFY(recorder.boxes.isEmpty());
        QVERIFY(SerialLink::probe(sim.slavePath()));
        QCOMPARE(sim.received(), QByteArray("~{~{"));
        QVERIFY(!sim.isIdle());  // cancelled while the module was still answering
    }

    // A bar in a field, with another separator: the window's download,
    // verify and read-up give it back as itself.
    void aBarInAFieldThroughTheWindow()
    {
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        window.linkSettings().DownloadSeparator = '#';
        formLineEdits(window.centralWidget())[3]->setText("A|B");
        QCOMPARE(runDownload(window).status, QString("Sikeres betöltés."));
        MessageBoxRecorder recorder;
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("Sikeres ellenőrzés."));
        MainWindow fresh;
        QVERIFY(attach(sim, fresh));
        fresh.readup();
        QVERIFY(jobEnds(fresh));
        QCOMPARE(formLineEdits(fresh.centralWidget())[3]->text(), QString("A|B"));
    }

    void verifyAfterDownload()
    {
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        formLineEdits(window.centralWidget())[9]->setText("KI4  ");  // trailing blanks
        QCOMPARE(runDownload(window).status, QString("Sikeres betöltés."));

        bool portHeldDuringMessage = false;
        MessageBoxRecorder recorder;
        recorder.beforeAnswer = [&](QMessageBox *) { portHeldDuringMessage = !SerialLink::probe(sim.slavePath()); };
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Information);
        QCOMPARE(recorder.boxes[0].title, QString("Ellenőrzés"));
        QCOMPARE(recorder.boxes[0].text, QString("Sikeres ellenőrzés."));
        QCOMPARE(window.linkSettings().RecordText.size(), 748);
        QVERIFY(portHeldDuringMessage);
        QVERIFY(SerialLink::probe(sim.slavePath()));

        // 0xFF fill in the module compares equal to the form's blanks.
        QList<QByteArray> fields = sim.fields();
        fields[9] = "KI4";
        sim.setFields(fields);
        QCOMPARE(sim.fields()[9], QByteArray("KI4") + QByteArray(13, '\xFF'));
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes[1].text, QString("Sikeres ellenőrzés."));

        fields[3][0] = 'X';
        fields[28][1] = '0';
        sim.setFields(fields);
        QCheckBox *ticked = window.centralWidget()->findChild<QCheckBox *>("tc4_1");
        QLineEdit *name = formLineEdits(window.centralWidget())[3];
        const QFont nameFont = name->font();
        const auto look = [ticked](int around) { return ticked->parentWidget()->grab(ticked->geometry().adjusted(-around, -around, around, around)).toImage(); };
        const QImage tickedLook = look(0), surroundings = look(2);
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes[2].icon, QMessageBox::Critical);
        QCOMPARE(recorder.boxes[2].title, QString("Ellenőrzés"));
        QCOMPARE(recorder.boxes[2].text, QString("Sikertelen ellenőrzés.\nTöltse be újra a konfigurációt!"));
        // The details name each field the module holds otherwise.
        QCOMPARE(recorder.boxes[2].details, QString("m_nev (Modul neve): űrlap \"KAPU\", modul \"XAPU\"\n"
                                                    "tc4_1 (Telefonszám 1, Kimenet vezérlés 1): űrlap 1, modul 0"));
        // The form marks exactly those fields, with the module's value, until
        // the field is edited or the next transfer.
        QStringList marked;
        for (QWidget *field : window.centralWidget()->findChildren<QWidget *>())
            if (FieldMarks::isMarked(field))
                marked << field->objectName() + ": " + field->toolTip();
        QCOMPARE(marked, QStringList({"m_nev: A modul értéke: \"XAPU\"", "tc4_1: A modul értéke: 0"}));
        // The mark goes around the box, not over its tick, and no field's font changes with it.
        QVERIFY(ticked->isChecked());
        QCOMPARE(look(0), tickedLook);
        QVERIFY(look(2) != surroundings);
        QCOMPARE(name->font(), nameFont);
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClicks(name, "X");
        QVERIFY(!FieldMarks::isMarked(name));
        window.readup();
        QVERIFY(jobEnds(window));
        QVERIFY(!FieldMarks::isMarked(window.centralWidget()->findChild<QWidget *>("tc4_1")));
    }

    // An answer that is in before the progress dialog would have shown
    // itself: the outcome's box is the only window, now and later.
    void resultIsTheOnlyWindow()
    {
        ModuleSimulator sim;
        MainWindow window;
        QVERIFY(attach(sim, window));
        QStringList waitingDialogs;
        MessageBoxRecorder recorder;
        recorder.beforeAnswer = [&](QMessageBox *box) {
            for (const QProgressDialog *progress : window.findChildren<QProgressDialog *>())
                if (!progress->isVisible())
                    waitingDialogs << box->text();
        };
        window.verify_func();  // the module is empty: a mismatch
        QVERIFY(jobEnds(window));
        SimulatorOptions garbled;
        garbled.scriptedAnswer = "garbled";
        ModuleSimulator other(garbled);
        QVERIFY(other.start());
        window.linkSettings().Port = other.slavePath();
        QTest::ignoreMessage(QtDebugMsg, "sep error");
        window.readup();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 2);
        QCOMPARE(waitingDialogs, QStringList());
    }

    // On a module that takes its time, the bar shows, follows the answer
    // without ever going back, stays short of its end until the answer is
    // complete, and is full while the outcome is read.
    void barFollowsTheAnswer()
    {
        SimulatorOptions options;
        options.paced = true;
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        MainWindow window;
        window.linkSettings().Port = sim.slavePath();
        QList<int> values;  // as the bar is given them
        AnswerProgress::setObserver([&values](int value) { values << value; });
        int valueDuringMessage = -1;
        MessageBoxRecorder recorder;
        recorder.beforeAnswer = [&](QMessageBox *) {
            const QProgressDialog *progress = window.findChild<QProgressDialog *>();
            valueDuringMessage = progress && progress->isVisible() ? progress->value() : -1;
        };
        window.verify_func();
        QVERIFY(jobEnds(window));
        AnswerProgress::setObserver({});
        QCOMPARE(recorder.boxes.size(), 1);
        QVERIFY(values.size() > 10);
        QVERIFY(std::is_sorted(values.cbegin(), values.cend()));
        // Short of the end while the answer comes (749 of 750 bytes at most),
        // full once it is complete.
        QCOMPARE(values.last(), 750);
        QVERIFY2(values[values.size() - 2] < 750, qPrintable(QString::number(values[values.size() - 2])));
        QCOMPARE(valueDuringMessage, 750);
    }

    void verifyFailures_data()
    {
        QTest::addColumn<int>("fieldCount");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("reason");
        QTest::newRow("one field less") << 43 << '|' << "\n" + reason(JournalReason::FieldCount, "43");
        QTest::newRow("one field more") << 45 << '|' << "\n" + reason(JournalReason::FieldCount, "45");
    }
    void verifyFailures()
    {
        QFETCH(int, fieldCount);
        QFETCH(char, separator);
        QFETCH(QString, reason);
        MainWindow window;
        fillForm(window);
        LinkSettings record;
        buildContentRecord(readForm(window.centralWidget()), record, RecordPurpose::Verify);
        QList<QByteArray> fields;
        for (const QString &item : record.RecordText.split('|', Qt::SkipEmptyParts))
            fields << item.toLatin1();
        while (fields.size() > fieldCount)
            fields.removeLast();
        while (fields.size() < fieldCount)
            fields << QByteArray(16, ' ');
        SimulatorOptions options;
        options.scriptedAnswer = ModuleSimulator::uploadAnswer(fields);
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        window.linkSettings().Port = sim.slavePath();
        window.linkSettings().DownloadSeparator = separator;
        MessageBoxRecorder recorder;
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, "Sikertelen ellenőrzés.\nTöltse be újra a konfigurációt!" + reason);
    }

    void verifyRefusals()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        MainWindow window;
        window.linkSettings().Port = sim.slavePath();
        formLineEdits(window.centralWidget())[3]->setText("\u00E9");
        MessageBoxRecorder recorder;
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(recorder.boxes[0].title, QString("Hiba"));
        QCOMPARE(recorder.boxes[0].text, QString("Sikertelen ellenőrzés. (ascii error)"));
        QVERIFY(sim.received().isEmpty());

        window.linkSettings().Port = "/nonexistent/ttyX";
        formLineEdits(window.centralWidget())[3]->clear();  // empty fields are fine for verify
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 2);
        QCOMPARE(recorder.boxes[1].title, QString("Hiba"));
        QCOMPARE(recorder.boxes[1].text, QString("Sikertelen ellenőrzés.\nNem lehet megnyitni a portot.\n/nonexistent/ttyX: nem található"));
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
