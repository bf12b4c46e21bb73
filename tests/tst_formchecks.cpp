#include "gui/mainwindow.h"
#include "core/form/fieldcheck.h"
#include "gui/form/formbinding.h"
#include "gui/form/mainwindowui.h"
#include "gui/texts/windowtexts.h"
#include "modal.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Leaving a field checks the whole visible form; the operator box fills the
// SMS-centre number.
class TestFormChecks : public QObject
{
    Q_OBJECT

private slots:
    // A number pasted into a telephone field, by the key or the field's
    // menu, goes in as the module keeps it; what is no number is pasted as
    // it stands, for the field's own check.
    void pastedNumbersAreStored()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QLineEdit *t1 = window.findChild<QLineEdit *>("t1");
        QLineEdit *t2 = window.findChild<QLineEdit *>("t2");
        QGuiApplication::clipboard()->setText("+36 30 999 8877");
        t1->setFocus();
        QTest::keyClick(t1, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(t1->text(), QString("36309998877"));
        QGuiApplication::clipboard()->setText("06-20/555 1234");
        t2->setFocus();
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), t2->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(t2, &menu);
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto *paste = QApplication::activePopupWidget()->findChild<QAction *>("edit-paste");
        QVERIFY(paste && paste->isEnabled());
        paste->trigger();
        QCOMPARE(t2->text(), QString("36205551234"));
        QApplication::activePopupWidget()->close();
        QGuiApplication::clipboard()->setText("kapu");
        t1->setFocus();
        t1->selectAll();
        QTest::keyClick(t1, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(t1->text(), QString("kapu"));  // no number: pasted as it stands, for the field's check to judge
    }

    void firstProblem_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");  // empty: passes
        const QString numbers = "Only numbers.";
        const QString ascii = "Only numbers and characters. (7-bit ascii)\n";
        const QString phone = "Telephone number: only numbers.";
        QTest::newRow("letter in PIN") << 1 << "12a4" << numbers;
        QTest::newRow("blank in PIN") << 1 << "12 34" << QString();
        QTest::newRow("letter in id") << 2 << "x" << numbers;
        QTest::newRow("letter in relay time") << 7 << "1e" << numbers;
        QTest::newRow("plus in SMS centre") << 0 << "+36" << numbers;
        QTest::newRow("accent in name") << 3 << "K\u00E9K" << ascii;
        QTest::newRow("punctuation in name") << 3 << "A-B.C!?" << QString();
        QTest::newRow("NUL in text") << 8 << QString(QChar(0)) << ascii;
        QTest::newRow("DEL in text") << 8 << "\x7F" << ascii;
        QTest::newRow("pasted line end in name") << 3 << "KA\rPU" << ascii;
        QTest::newRow("restore 2") << 4 << "2" << "The value is only 1 or 0.";
        QTest::newRow("restore accent") << 4 << "\u00E9" << ascii;
        QTest::newRow("restore empty") << 4 << "" << QString();
        QTest::newRow("restore 1") << 4 << "1" << QString();
        QTest::newRow("plus in telephone") << 30 << "+3620" << phone;
        QTest::newRow("blank in telephone") << 43 << "36 20" << QString();
        QTest::newRow("hidden field") << 20 << "\u00E9+" << QString();
    }
    void firstProblem()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QStringList texts = initialFormValues().texts;
        texts[field] = text;
        const std::optional<FieldProblem> problem = findFieldProblem(texts);
        QCOMPARE(bool(problem), !message.isEmpty());
        if (problem) {
            QCOMPARE(problem->index, field);
            QCOMPARE(WindowText::inputError(problem->rule), message);
        }
    }

    void onlyTheFirstProblemIsReported()
    {
        QStringList texts = initialFormValues().texts;
        texts[30] = "+";
        texts[9] = "\u00E9";
        texts[2] = "a";
        QCOMPARE(findFieldProblem(texts)->index, 2);
    }

    void leavingABadFieldEmptiesAndFocusesIt()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QList<QLineEdit *> edits = formLineEdits(window.centralWidget());
        QLineEdit *pin = edits[1];
        QLineEdit *phone = edits[35];
        phone->setText("+3620");
        pin->setFocus();
        QTest::keyClicks(pin, "12a4");

        MessageBoxRecorder recorder;
        QTest::keyClick(pin, Qt::Key_Tab);  // leaving the field finishes the edit
        QTRY_COMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(recorder.boxes[0].title, QString("Input error"));
        QCOMPARE(recorder.boxes[0].text, QString("Only numbers."));
        QCOMPARE(recorder.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(pin->text().isEmpty());
        QCOMPARE(phone->text(), QString("+3620"));  // not reached in this run
        QCOMPARE(window.focusWidget(), pin);

        // The next run reaches the telephone number.
        window.input_check();
        QCOMPARE(recorder.boxes.size(), 2);
        QCOMPARE(recorder.boxes[1].text, QString("Telephone number: only numbers."));
        QVERIFY(phone->text().isEmpty());

        window.input_check();  // a clean form says nothing
        QCOMPARE(recorder.boxes.size(), 2);
    }

    void operatorSelection()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QComboBox *combo = window.form().smskp_combo;
        QLineEdit *smskp = window.form().smskp;

        combo->setCurrentIndex(1);
        QCOMPARE(smskp->text(), QString("36209300099"));
        QVERIFY(!smskp->isEnabled());
        combo->setCurrentIndex(2);
        QCOMPARE(smskp->text(), QString("36709996500"));
        combo->setCurrentIndex(3);
        QVERIFY(smskp->isEnabled());
        QCOMPARE(smskp->text(), QString("36709996500"));
        QTRY_COMPARE(QApplication::focusWidget(), smskp);
        combo->setCurrentIndex(0);
        QCOMPARE(smskp->text(), QString("36309888000"));
        QVERIFY(!smskp->isEnabled());
    }
};

QTEST_MAIN(TestFormChecks)
#include "tst_formchecks.moc"
