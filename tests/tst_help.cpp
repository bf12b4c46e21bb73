#include "gui/mainwindow.h"
#include "gui/form/mainwindowui.h"
#include "gui/help/about.h"
#include "gui/help/help.h"
#include "core/help/helptext.h"
#include "labelfit.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The help viewer and the About box.
class TestHelp : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startDir;

    QString writeHelp(const QByteArray &bytes)
    {
        QFile file(m_dir.filePath("tavir_16.hlp"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void initTestCase() { m_startDir = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_startDir); }

    void helpTextStopsAtTheRule()
    {
        const QString path = writeHelp("egy\ntwo \xC5\x91\nh\xC3\xa1rom\n---\nnot shown\n");
        QCOMPARE(readHelpText(path), QString("egy\ntwo \u0151\nhárom\n---\n"));
        writeHelp("a\r\nb\r\n");
        QCOMPARE(readHelpText(path), QString("a\nb\n"));
        writeHelp("");
        QCOMPARE(readHelpText(path), QString("\n"));
        writeHelp("--- \n----\nend");
        QCOMPARE(readHelpText(path), QString("--- \n----\nend\n"));
        QCOMPARE(readHelpText(m_dir.filePath("none.hlp")), std::nullopt);
        QCOMPARE(readHelpText(m_dir.path()), QString("\n"));  // there, but no file to read
    }

    void viewerShowsTheFileOfTheCurrentFolder()
    {
        writeHelp("first\nsecond\nthird\n---\nhidden\n");
        QDir::setCurrent(m_dir.path());
        QWidget parent;
        help viewer(&parent);
        QCOMPARE(viewer.windowTitle(), QString("Help"));
        QCOMPARE(viewer.size(), QSize(880, 680));
        QCOMPARE(viewer.minimumSize(), QSize(880, 680));
        QCOMPARE(viewer.maximumSize(), QSize(880, 680));
        QPlainTextEdit *text = viewer.textView();
        QCOMPARE(text->toPlainText(), QString("first\nsecond\nthird\n---\n"));
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
        const QDialogButtonBox *buttons = viewer.findChild<QDialogButtonBox *>("buttonBox");
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::StandardButtons(QDialogButtonBox::Close));
    }

    void viewerFallsBackToTheShippedHelp()
    {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        QWidget parent;
        help viewer(&parent);
        const QString shipped = viewer.textView()->toPlainText();
        QVERIFY(shipped.endsWith("---\n"));  // the installed help, from the build tree
        QVERIFY(shipped.contains("Szimulált modul"));
        QVERIFY(!shipped.contains("Notes for maintainers"));

        // The viewer's face is proportional and it does not wrap: nothing may
        // rely on columns of blanks, and every line fits without scrolling.
        const QFontMetrics metrics(viewer.textView()->font());
        const QPlainTextEdit *text = viewer.textView();
        const int width = text->contentsRect().width() - text->verticalScrollBar()->sizeHint().width()
                        - 2 * int(text->document()->documentMargin());
        for (const QString &line : shipped.split('\n')) {
            QVERIFY2(!line.trimmed().contains("  "), qPrintable(line));
            QVERIFY2(metrics.horizontalAdvance(line) < width, qPrintable(line));
        }
    }

    // F1 again, or after Close, brings the one help window back to the front.
    void f1BringsTheSameWindowBack()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(window.findChildren<help *>().size(), 1);
        help *viewer = window.findChild<help *>();
        QVERIFY(viewer->isVisible());
        QVERIFY(!viewer->isModal());
        viewer->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Close)->click();
        QVERIFY(!viewer->isVisible());
        QTest::keyClick(&window, Qt::Key_F1);
        QVERIFY(viewer->isVisible());
        QCOMPARE(window.findChildren<help *>().size(), 1);  // hidden, not gone
    }

    void aboutBox()
    {
        MainWindow window;
        window.form().actionAbout->trigger();
        about *box = window.findChild<about *>();
        QVERIFY(box && box->isVisible() && !box->isModal());
        QCOMPARE(box->windowTitle(), QString("About"));
        QCOMPARE(box->size(), QSize(311, 200));
        auto text = [box](const char *name) { return box->findChild<QLabel *>(name)->text(); };
        QVERIFY(text("label").startsWith("© "));
        QVERIFY(text("label_3").contains("example.com"));
        QVERIFY(text("label_2").contains("@example.com"));
        QVERIFY(box->findChild<QLabel *>("label_4")->font().italic());
        QCOMPARE(text("label_6"), QString("Version v1.4"));
        for (const QLabel *label : box->findChildren<QLabel *>())
            QCOMPARE(label->alignment(), Qt::AlignCenter);
        QCOMPARE(clippedLabels(box), QStringList());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
