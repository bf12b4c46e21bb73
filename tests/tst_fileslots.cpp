#include "gui/dialogs/filedialog.h"
#include "gui/mainwindow.h"
#include "gui/texts/windowtexts.h"
#include "gui/form/formbinding.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/mainwindowui.h"
#include "fullfolder.h"
#include "modal.h"
#include "core/content/contentfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

// Save, Open and New through the window's slots, with real message boxes.
class TestFileSlots : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startDir;

    static QString fileLabel(const MainWindow &w) { return w.findChild<QLabel *>("fileLabel")->text(); }

    static void fillForm(MainWindow &window)
    {
        const QList<QLineEdit *> edits = formLineEdits(window.centralWidget());
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setText(QString::number(i % 10).repeated(20));
        const QList<QCheckBox *> boxes = formCheckBoxes(window.centralWidget());
        for (int k = 0; k < boxes.size(); k += 5)
            boxes[k]->setChecked(true);
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void initTestCase() { m_startDir = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_startDir); }

    void saveTheInitialForm()
    {
        MainWindow window;
        MessageBoxRecorder recorder;
        const QString path = m_dir.filePath("first.t16");
        FileDialog::answerNext(path);
        window.save();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Information);
        QCOMPARE(recorder.boxes[0].title, QString("Save"));
        QCOMPARE(recorder.boxes[0].text, QString("Save was successful."));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QFile shipped(QFINDTESTDATA("../data/default16.ui"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), shipped.readAll());  // the shipped default is this very save
        QCOMPARE(window.linkSettings().FilePath, path);
        QCOMPARE(window.linkSettings().FileName, QString("first.t16"));
        QCOMPARE(fileLabel(window), QString("first.t16"));
    }

    void saveCancelledAndSaveFailed()
    {
        MainWindow window;
        MessageBoxRecorder recorder;
        FileDialog::answerNext(QString());
        window.save();
        QCOMPARE(recorder.boxes.size(), 0);

        FileDialog::answerNext(m_dir.filePath("no/such/folder/x.t16"));
        window.save();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(recorder.boxes[0].title, QString("Error"));
        QCOMPARE(recorder.boxes[0].text, QString("Cannot save the selected file."));
        QVERIFY(window.linkSettings().FilePath.isEmpty());
        QCOMPARE(fileLabel(window), QString("No file"));
    }

    // A name typed without the extension gets it, so that Open finds the
    // file; the dialogs offer every file too, and start where the last file was.
    void saveAsALinuxUserExpects()
    {
        MainWindow window;
        MessageBoxRecorder recorder;
        FileDialog::answerNext(m_dir.filePath("kapu"));
        window.save();
        QCOMPARE(FileDialog::lastRequest().dir, QString("."));
        QCOMPARE(FileDialog::lastRequest().filter, QString("T16 Files (*.t16);;All files (*)"));
        QVERIFY(QFile::exists(m_dir.filePath("kapu.t16")));
        QCOMPARE(fileLabel(window), QString("kapu.t16"));
        FileDialog::answerNext(QString());
        window.save();
        QCOMPARE(FileDialog::lastRequest().dir, m_dir.filePath("kapu.t16"));
        FileDialog::answerNext(QString());
        window.openfile();
        QCOMPARE(FileDialog::lastRequest().dir, m_dir.path());
    }

    // Through the real file dialog: a name typed without the extension over
    // an existing file is asked about, and "No" leaves the file as it was;
    // under "All files" a name is kept as typed, and "Yes" replaces it.
    void realDialogAsksBeforeReplacing_data()
    {
        QTest::addColumn<bool>("allFiles");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("replace");
        QTest::newRow("t16 files") << false << "kapu" << "kapu.t16" << false;
        QTest::newRow("all files") << true << "backup.txt" << "backup.txt" << true;
    }
    void realDialogAsksBeforeReplacing()
    {
        QFETCH(bool, allFiles);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(bool, replace);
        QTemporaryDir folder;
        const QByteArray old = "the technician's earlier file";
        QFile existing(folder.filePath(written));
        QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write(old) == old.size());
        existing.close();
        MainWindow window;
        fillForm(window);
        QStringList questions;
        ModalDriver driver([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                questions << box->text();
                const auto answer = box->button(QMessageBox::Ok) ? QMessageBox::Ok : replace ? QMessageBox::Yes : QMessageBox::No;
                box->button(answer)->click();
                return true;
            }
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog)
                return false;
            if (!questions.isEmpty()) {  // back from the question: give up
                dialog->reject();
                return true;
            }
            if (allFiles) {
                auto *types = dialog->findChild<QComboBox *>("fileTypeCombo");
                types->setFocus();
                QTest::keyClick(types, Qt::Key_Down);  // as the technician picks it
            }
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            name->setText(folder.filePath(typed));
            // Pressed from the event loop: the question it raises runs a loop
            // of its own, which this driver must be free to answer.
            QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
            return true;
        });
        window.save();
        QVERIFY2(questions[0].contains(written) && questions[0].contains("replace"), qPrintable(questions[0]));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({written}));
        QFile kept(folder.filePath(written));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll() == old, !replace);
        QCOMPARE(questions.size(), replace ? 2 : 1);  // "Save was successful." after a replace
    }

    // Work that is in no file and no module is never replaced unasked;
    // "Cancel" keeps it.
    void editedFormIsAskedAbout_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *action : {"actionOpen", "actionReadup", "actionExit"})
            QTest::newRow(action) << action;
    }
    void editedFormIsAskedAbout()
    {
        QFETCH(QString, action);
        MainWindow window;
        window.show();
        auto *name = window.findChild<QLineEdit *>("m_nev");
        name->setText("EDITED");
        MessageBoxRecorder recorder;
        recorder.question = QMessageBox::Cancel;
        window.findChild<QAction *>(action)->trigger();
        QCOMPARE(recorder.questions.size(), 1);
        QCOMPARE(recorder.questions[0].title, QString("Mentetlen változások"));
        QCOMPARE(recorder.questions[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(recorder.boxes.size(), 0);
        QCOMPARE(name->text(), QString("EDITED"));
        QVERIFY(window.isVisible());
        QVERIFY(window.isWindowModified());
    }

    // A disk that fills up while the file is written: the save fails, says
    // so, and the file it was to replace keeps every byte.
    void saveOnAFullDisk()
    {
        const QByteArray good = "a good file that must survive";
        REQUIRE_ROOT("mounts a small tmpfs and fills it");
        FullFolder full(good);
        QVERIFY2(full.error().isEmpty(), qPrintable(full.error()));
        MainWindow window;
        fillForm(window);
        MessageBoxRecorder recorder;
        FileDialog::answerNext(full.filePath("kept.t16"));
        window.save();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(recorder.boxes[0].title, QString("Error"));
        QCOMPARE(recorder.boxes[0].text, QString("Cannot save the selected file."));
        QCOMPARE(full.kept(), good);
        QCOMPARE(QDir(full.path()).entryList(QDir::Files).size(), 2);  // nothing half-written left behind
        QCOMPARE(fileLabel(window), QString("No file"));
    }

    // A form the reader would not take back is never written: the old file
    // keeps its content, and no name is asked for.
    void saveRefusesWhatWouldNotLoadBack_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        using Reason = ContentFile::SaveProblem::Reason;
        const auto refused = [](int field, Reason reason) { return WindowText::unsavable({field, reason}); };
        QTest::newRow("end mark") << 3 << "---" << refused(3, Reason::EndMark);
        QTest::newRow("line end in a hidden field") << 18 << "a\nb" << refused(18, Reason::LineBreak);
        QTest::newRow("NUL in a telephone number") << 29 << QString::fromLatin1("36\0" "20", 5)
                                                   << refused(29, Reason::NulCharacter);
    }
    void saveRefusesWhatWouldNotLoadBack()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const QString path = writeFile("kept.t16", "old content");
        MainWindow window;
        formLineEdits(window.centralWidget())[field]->setText(text);
        MessageBoxRecorder recorder;
        FileDialog::answerNext(path);
        window.save();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(recorder.boxes[0].title, QString("Error"));
        QCOMPARE(recorder.boxes[0].text, message);
        QCOMPARE(FileDialog::openFileName(nullptr, {}, {}, {}), path);  // still unanswered
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old content"));
        QVERIFY(window.linkSettings().FilePath.isEmpty());
        QCOMPARE(fileLabel(window), QString("No file"));
    }

    void saveAndOpenRestoreEverything()
    {
        MainWindow source;
        fillForm(source);
        MessageBoxRecorder recorder;
        const QString path = m_dir.filePath("a.b.t16");
        FileDialog::answerNext(path);
        source.save();
        QCOMPARE(fileLabel(source), QString("a.b.t16"));

        MainWindow target;
        target.linkSettings().RecordText = "stale record";
        target.form().smskp_combo->setCurrentIndex(1);
        FileDialog::answerNext(path);
        target.openfile();
        QCOMPARE(recorder.boxes.size(), 2);
        QCOMPARE(recorder.boxes[1].icon, QMessageBox::Information);
        QCOMPARE(recorder.boxes[1].title, QString("File opened."));
        QCOMPARE(recorder.boxes[1].text, QString("a.b.t16 successfully loaded."));
        QCOMPARE(readForm(target.centralWidget()), readForm(source.centralWidget()));
        QCOMPARE(formLineEdits(target.centralWidget())[25]->text(), QString("5555555555555555"));
        QVERIFY(target.linkSettings().RecordText.isEmpty());
        QCOMPARE(fileLabel(target), QString("a.b.t16"));
        QCOMPARE(target.form().smskp_combo->currentIndex(), 1);  // the combo keeps its choice

        // Cancelling the next Open leaves the form, but forgets the path.
        FileDialog::answerNext(QString());
        target.openfile();
        QCOMPARE(recorder.boxes.size(), 2);
        QVERIFY(target.linkSettings().FilePath.isEmpty());
        QCOMPARE(fileLabel(target), QString("a.b.t16"));
        QCOMPARE(readForm(target.centralWidget()), readForm(source.centralWidget()));
    }

    // A file's value longer than its field is cut as the field cuts what is
    // typed, and the status bar names the fields.
    void openCutsAndSaysSo()
    {
        const QString path = m_dir.filePath("long.t16");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray lines = "36309888000\r\n123456\r\n42\r\nKAPU KAPU KAPU KAPU\r\n";
        for (int i = 4; i < ContentFile::LineCount; ++i)
            lines += i < LineEditCount ? "\r\n" : "0\r\n";
        file.write(lines);
        file.close();
        MainWindow window;
        MessageBoxRecorder recorder;
        // A mark speaks of the content it was made on; a file replaces that.
        FieldMarks::mark(window.centralWidget(), "m_id", "A modul értéke: \"0043\"");
        FileDialog::answerNext(path);
        window.openfile();
        QVERIFY(!FieldMarks::isMarked(formLineEdits(window.centralWidget())[2]));
        QCOMPARE(formLineEdits(window.centralWidget())[1]->text(), QString("1234"));
        QCOMPARE(formLineEdits(window.centralWidget())[3]->text(), QString("KAPU KAPU KAPU K"));
        QCOMPARE(window.statusBar()->currentMessage(), QString("Levágva a mező hosszára: „Modul PIN-kód”, „Modul neve”"));
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // null: no file at all
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString fileError = "Cannot open the file. \nTip: Check the file.";
        QTest::newRow("missing") << "missing.t16" << QByteArray() << int(QMessageBox::Warning)
                                 << "Error" << "Cannot open the selected file.";
        QTest::newRow("empty") << "empty.t16" << QByteArray("") << int(QMessageBox::Critical)
                               << "File error." << fileError;
        QTest::newRow("short") << "short.t16" << QByteArray("1\r\n2\r\n") << int(QMessageBox::Critical)
                               << "File error." << fileError;
        QTest::newRow("binary") << "bin.t16" << QByteArray("\x7f" "ELF\0\0\1\2\r\n\n\n", 12)
                                << int(QMessageBox::Critical) << "File error." << fileError;
    }
    void openFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, icon);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const QString path = bytes.isNull() ? m_dir.filePath(name) : writeFile(name, bytes);
        MainWindow window;
        fillForm(window);
        const FormValues before = readForm(window.centralWidget());
        MessageBoxRecorder recorder;
        FileDialog::answerNext(path);
        window.openfile();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(int(recorder.boxes[0].icon), icon);
        QCOMPARE(recorder.boxes[0].title, title);
        QCOMPARE(recorder.boxes[0].text, text);
        QCOMPARE(readForm(window.centralWidget()), before);
        QCOMPARE(window.linkSettings().FilePath, path);
        QVERIFY(window.linkSettings().FileName.isEmpty());
        QCOMPARE(fileLabel(window), QString("No file"));
    }

    void openAFolder()
    {
        MainWindow window;
        MessageBoxRecorder recorder;
        FileDialog::answerNext(m_dir.path());
        window.openfile();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("File error."));
    }

    void newLoadsTheDefaultFromTheCurrentFolderFirst()
    {
        QByteArray custom = "36209300099\r\n";
        for (int i = 1; i < 44; ++i)
            custom += "\r\n";
        for (int k = 0; k < 64; ++k)
            custom += "1\r\n";
        writeFile("default16.ui", custom);
        QDir::setCurrent(m_dir.path());

        MainWindow window;
        MessageBoxRecorder recorder;
        window.newfile();
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].text, QString("default16.ui successfully loaded."));
        QCOMPARE(window.form().smskp->text(), QString("36209300099"));
        QVERIFY(formCheckBoxes(window.centralWidget()).last()->isChecked());
        QCOMPARE(window.linkSettings().FilePath, QString("default16.ui"));
        QCOMPARE(fileLabel(window), QString("default16.ui"));
    }

    void newFallsBackToTheInstalledDefault()
    {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        MainWindow window;
        fillForm(window);
        MessageBoxRecorder recorder;
        window.newfile();  // the build tree's share/tavir340 holds the shipped default
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes[0].title, QString("File opened."));
        QCOMPARE(readForm(window.centralWidget()), initialFormValues());
    }

    void saveAsDoesNothing()
    {
        MainWindow window;
        MessageBoxRecorder recorder;
        window.saveas();
        QCOMPARE(recorder.boxes.size(), 0);
        QVERIFY(window.linkSettings().FilePath.isEmpty());
    }
};

QTEST_MAIN(TestFileSlots)
#include "tst_fileslots.moc"
