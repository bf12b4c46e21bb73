#include "core/journal/journal.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "gui/mainwindow.h"
#include "gui/transfer/dload.h"
#include "heldjournal.h"
#include "modal.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "windowjob.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>

// The window's jobs end by continuation: a close, a key or an Escape during
// a transfer or a look at the journal finds nothing half done and frees
// nothing a job still uses.
class TestWindowJobs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A window whose journal is made, filled with the form of a module that
    // has an identifier, and kept in `journal`.
    static void prepare(MainWindow &window, const QString &journal)
    {
        { Journal made(parseJournalDestination(journal)); }
        window.setJournalLocation(parseJournalDestination(journal));
        writeForm(window.centralWidget(), downloadableForm());
    }

    static QList<JournalEntry> entries(const QString &journal)
    {
        return Journal(parseJournalDestination(journal), Journal::Mode::Read).find({});
    }

private slots:
    // While the journal is held by another program, a look at it waits on
    // the runner: keys start nothing, a close waits for the look's end and
    // then closes, with no box; the download pressed meanwhile never ran.
    void closeDuringAHeldJournalCall()
    {
        const QString path = m_dir.filePath("held.sqlite");
        MainWindow window;
        prepare(window, path);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        HeldJournal held(path);
        QVERIFY(held.isHeld());
        MessageBoxRecorder recorder;
        window.form().actionChanges->trigger();
        QVERIFY(window.isBusy());
        QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_J, Qt::ControlModifier);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        held.release();
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!window.isBusy());
        QVERIFY(recorder.boxes.isEmpty());
        QVERIFY(!window.findChild<dload *>());
        QVERIFY(entries(path).isEmpty());
    }

    // A window that goes while its job waits on the journal (the program
    // ended without a close) waits for the job before anything it uses goes.
    void destroyedDuringAHeldJournalCall()
    {
        const QString path = m_dir.filePath("gone.sqlite");
        auto window = std::make_unique<MainWindow>();
        prepare(*window, path);
        HeldJournal held(path, 1000);
        QVERIFY(held.isHeld());
        window->form().actionChanges->trigger();
        QVERIFY(window->isBusy());
        window.reset();
    }

    // A close during a transfer ends it as Escape would, shows no box, and
    // closes once the port is free; the journal says the transfer ended.
    void closeDuringATransfer_data()
    {
        QTest::addColumn<QString>("transfer");
        QTest::newRow("read-up") << "readup";
        QTest::newRow("download") << "download";
    }
    void closeDuringATransfer()
    {
        QFETCH(QString, transfer);
        SimulatorOptions options;
        options.paced = true;
        options.readyReply = "R";  // a download then waits 5 s for the module's second byte
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        const QString path = m_dir.filePath(transfer + ".sqlite");
        MainWindow window;
        prepare(window, path);
        window.linkSettings().Port = sim.slavePath();
        const FormValues before = readForm(window.centralWidget());
        MessageBoxRecorder recorder;
        window.show();
        if (transfer == "readup")
            window.readup();
        else
            window.download();
        QTRY_VERIFY(sim.received().size() >= 2);  // the request is out: the exchange runs
        QVERIFY(!window.close());
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(recorder.boxes.isEmpty());
        QCOMPARE(readForm(window.centralWidget()), before);
        const QList<JournalEntry> kept = entries(path);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept[0].result, JournalName::Interrupted);
    }

    // Escape on a read-up's or verify's bar, mid-answer, cancels it: no
    // box, and the form, its marks, the title and the file stay as they were.
    void escapeCancelsMidAnswer_data()
    {
        QTest::addColumn<QString>("transfer");
        QTest::newRow("read-up") << "readup";
        QTest::newRow("verify") << "verify";
    }
    void escapeCancelsMidAnswer()
    {
        QFETCH(QString, transfer);
        SimulatorOptions options;
        options.paced = true;  // six seconds of answer
        ModuleSimulator sim(options);
        QVERIFY(sim.start());
        const QString path = m_dir.filePath("escape-" + transfer + ".sqlite");
        MainWindow window;
        prepare(window, path);
        window.linkSettings().Port = sim.slavePath();
        window.show();
        const FormValues before = readForm(window.centralWidget());
        const QString title = window.windowTitle();
        MessageBoxRecorder recorder([](QWidget *modal) {
            auto *progress = qobject_cast<QProgressDialog *>(modal);
            if (!progress || progress->value() < 20)
                return false;
            QTest::keyClick(progress, Qt::Key_Escape);
            return true;
        });
        if (transfer == "readup")
            window.readup();
        else
            window.verify_func();
        QVERIFY(jobEnds(window));
        QVERIFY(recorder.boxes.isEmpty());
        QCOMPARE(readForm(window.centralWidget()), before);
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(!sim.isIdle());  // the module was still answering
        const QList<JournalEntry> kept = entries(path);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept[0].result, JournalName::Interrupted);
    }

    // A verify's entry is complete while its box is up: the box waits on
    // nothing, and a program killed with the box open leaves no entry
    // unfinished.
    void verifyRecordedBeforeItsBox()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString path = m_dir.filePath("verify.sqlite");
        MainWindow window;
        prepare(window, path);
        window.linkSettings().Port = sim.slavePath();
        QList<QByteArray> fields;  // the module holds the form
        for (const QString &item : downloadPlan(downloadableForm()).record().split('|'))
            fields << item.toLatin1();
        sim.setFields(fields);
        MessageBoxRecorder recorder;
        QString resultWhileShown;
        recorder.beforeAnswer = [&](QMessageBox *) { resultWhileShown = entries(path).value(0).result; };
        window.verify_func();
        QVERIFY(jobEnds(window));
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("Sikeres ellenőrzés."));
        QCOMPARE(resultWhileShown, JournalName::Ok);
    }
};

QTEST_MAIN(TestWindowJobs)
#include "tst_windowjobs.moc"
