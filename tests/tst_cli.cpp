#include "windowjob.h"
#include "filebytes.h"
#include "gui/dialogs/filedialog.h"
#include "gui/mainwindow.h"
#include "core/content/contentfile.h"
#include "core/phones/phonebook.h"
#include "clirun.h"
#include "gui/form/formbinding.h"
#include "fullfolder.h"
#include "modal.h"
#include "sampleform.h"
#include "simulator/modulesimulator.h"
#include "core/record/contentrecord.h"
#include "gui/transfer/dload.h"
#include "core/port/lockfile.h"
#include "core/link/seriallink.h"
#include "windowdownload.h"
#include "gui/texts/windowtexts.h"
#include "labels/language.h"
#include "core/storage/outputfile.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>
#include <cstring>

// tavir340-cli against simulated modules on pseudo-terminals: the same bytes
// and files as the window, the differing fields named, refusals, busy ports,
// Ctrl+C and backups.
class TestCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    using Run = CliRun;

    // A content file of the sample form with a few more values.
    static QString pdfText(const QString &pdf)
    {
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        text.waitForFinished(30000);
        return QString::fromUtf8(text.readAllStandardOutput());
    }

    QString sampleFile(const QString &name)
    {
        FormValues form = downloadableForm();
        form.texts[20] = "reserve";
        form.texts[28] = "36201234567";
        form.checked[0] = form.checked[3] = form.checked[63] = true;
        const QString path = m_dir.filePath(name);
        ContentFile::save(path, form);
        return path;
    }


    // What each writer of the program is given as its output: a command
    // line with TARGET for the file it writes (journal, port and files of
    // the fixture filled in), or "save" for the window's Save.
    struct Writers
    {
        QString journal;
        QString port;
        QString content;
        qint64 provision = 0;
        std::unique_ptr<ModuleSimulator> sim;
    };
    Writers &writers()
    {
        static Writers made;
        if (made.sim)
            return made;
        made.sim = std::make_unique<ModuleSimulator>();
        made.sim->start();
        made.port = made.sim->slavePath();
        made.content = sampleFile("writers.t16");
        made.journal = m_dir.filePath("writers.sqlite");
        QFile manifest(m_dir.filePath("writers.csv"));
        manifest.open(QIODevice::WriteOnly);
        manifest.write("unit\nw1\n");
        manifest.close();
        cli({"provision", made.content, "--manifest", manifest.fileName(), "--port", made.port, "--journal", made.journal, "--quiet"});
        made.provision = cli({"journal", "--journal", made.journal, "--operation", "provision", "--csv"}).out.section('\n', 1, 1)
                             .section(',', 0, 0).toLongLong();
        return made;
    }
    QStringList writerArguments(const QString &writer, const QString &target)
    {
        Writers &w = writers();
        if (writer == "set -o")
            return {"set", w.content, "m_nev=OTHER", "-o", target};
        if (writer == "readup -o")
            return {"readup", "--port", w.port, "--no-journal", "-o", target};
        if (writer == "journal show -o")
            return {"journal", "--journal", w.journal, "show", QString::number(w.provision), "-o", target};
        if (writer == "label -o")
            return {"label", "--journal", w.journal, "--entry", QString::number(w.provision), "-o", target};
        return {"verify", w.content, "--port", w.port, "--no-journal", "--log", target};  // --log
    }
    // Writes `target` as `writer` does; the exit code (0 or 2) and what it said.
    CliRun write(const QString &writer, const QString &target)
    {
        if (writer != "Save")
            return cli(writerArguments(writer, target));
        FileError error;
        const ContentFile::SaveStatus saved = ContentFile::save(target, downloadableForm(), &error);
        // The window's reason in English, which says what the command line says.
        Language::install("en");
        const QString why = saved == ContentFile::SaveStatus::Saved ? QString() : WindowText::fileError(error);
        Language::install({});
        return {saved == ContentFile::SaveStatus::Saved ? 0 : 2, {}, why};
    }

private slots:
    // Every writer, as root in a folder others share (sticky or not), with
    // something planted at its output's name: the planted thing and what it
    // points at stay as they were, byte for byte and mode for mode, and the
    // refusal says why. A file of one's own is replaced, without set-id bits,
    // and only its owner's bits where it holds a PIN.
    void noWriterSpoilsAFileItDidNotMake_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("plant");
        QTest::addColumn<int>("folderMode");
        const bool root = ::geteuid() == 0;
        for (const char *writer : {"set -o", "readup -o", "journal show -o", "label -o", "--log", "Save"})
            for (const char *plant : {"link", "hard link", "other's file", "set-id file", "fifo"})
                for (int folderMode : {01777, 0777})
                    if (root || (std::strcmp(plant, "other's file") != 0))
                        QTest::addRow("%s, %s, %o", writer, plant, folderMode) << writer << plant << folderMode;
    }
    void noWriterSpoilsAFileItDidNotMake()
    {
        QFETCH(QString, writer);
        QFETCH(QString, plant);
        QFETCH(int, folderMode);
        static int n = 0;
        const QString folder = m_dir.filePath(QString("shared-%1").arg(++n));
        QVERIFY(QDir().mkdir(folder) && ::chmod(qPrintable(folder), mode_t(folderMode)) == 0);
        const bool root = ::geteuid() == 0;
        const uid_t other = root ? 65534 : ::geteuid();  // nobody
        const QString victim = m_dir.filePath(QString("victim-%1").arg(n));
        QVERIFY(writeWholeFile(victim, "secret", OutputFile::Readers::OwnerOnly).kind == FileError::Kind::None);
        const QString target = folder + "/out";
        QString why;
        if (plant == "link") {
            QVERIFY(QFile::link(victim, target) && ::lchown(qPrintable(target), other, other) == 0);
            why = "a symbolic link, which is never written through";
        } else if (plant == "fifo") {
            QVERIFY(::mkfifo(qPrintable(target), 0666) == 0 && ::chown(qPrintable(target), other, other) == 0);
            why = "not a regular file";
        } else {
            const QString planted = plant == "hard link" ? victim : target;
            if (plant != "hard link")
                QVERIFY(writeWholeFile(planted, "planted").kind == FileError::Kind::None);
            QVERIFY(::chown(qPrintable(planted), other, other) == 0);
            QVERIFY(::chmod(qPrintable(planted), plant == "set-id file" ? 04777 : plant == "hard link" ? 0600 : 0644) == 0);
            if (plant == "hard link")
                QVERIFY(::link(qPrintable(victim), qPrintable(target)) == 0);
            if (root)
                why = "a file of nobody in a folder others may write, which is not replaced";
        }
        struct stat victimBefore {}, plantedBefore {};
        QVERIFY(::stat(qPrintable(victim), &victimBefore) == 0 && ::lstat(qPrintable(target), &plantedBefore) == 0);
        const QByteArray plantedBytes = S_ISREG(plantedBefore.st_mode) ? fileBytes(target) : QByteArray();

        const CliRun run = write(writer, target);

        struct stat victimAfter {}, after {};
        QVERIFY(::stat(qPrintable(victim), &victimAfter) == 0 && ::lstat(qPrintable(target), &after) == 0);
        QCOMPARE(fileBytes(victim), QByteArray("secret"));
        QCOMPARE(victimAfter.st_mode, victimBefore.st_mode);
        if (why.isEmpty()) {  // a file of one's own: replaced, its bits kept without set-id; the owner's alone where it holds a PIN
            QCOMPARE(run.code, 0);
            QVERIFY(S_ISREG(after.st_mode) && after.st_ino != plantedBefore.st_ino);
            const mode_t kept = plantedBefore.st_mode & 0777;
            QCOMPARE(after.st_mode & 07777, writer == "label -o" ? kept : (kept & 0700) | 0600);
            return;
        }
        QCOMPARE(run.code, 2);
        QVERIFY2((run.out + run.err).contains(why), qPrintable(run.out + run.err));
        QCOMPARE(after.st_ino, plantedBefore.st_ino);
        QCOMPARE(after.st_mode, plantedBefore.st_mode);
        QCOMPARE(after.st_uid, plantedBefore.st_uid);
        if (S_ISREG(after.st_mode))
            QCOMPARE(fileBytes(target), plantedBytes);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 1);  // nothing left beside it
    }

    // A file that holds the PIN is made 0600 whatever the umask, a label
    // follows it; folders the program makes, their parents too, are 0700.
    void modesWhateverTheUmask_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        for (int mask : {0, 022}) {
            for (const char *writer : {"set -o", "readup -o", "journal show -o", "--log", "Save"})
                QTest::addRow("%s, umask %03o", writer, mask) << writer << mask << 0600;
            QTest::addRow("label -o, umask %03o", mask) << "label -o" << mask << (0666 & ~mask);
        }
    }
    void modesWhateverTheUmask()
    {
        QFETCH(QString, writer);
        QFETCH(int, mask);
        QFETCH(int, mode);
        writers();
        const mode_t was = ::umask(mode_t(mask));
        const auto restore = qScopeGuard([was] { ::umask(was); });
        static int n = 0;
        const QString target = m_dir.filePath(QString("fresh-%1").arg(++n));
        QCOMPARE(write(writer, target).code, 0);
        struct stat made {};
        QVERIFY(::stat(qPrintable(target), &made) == 0);
        QCOMPARE(int(made.st_mode & 07777), mode);
        if (writer != "Save")
            return;
        const QString backups = m_dir.filePath(QString("own-%1/a/b").arg(n));
        QCOMPARE(cli({"download", writers().content, "--port", writers().port, "--no-journal", "--backup", backups, "--quiet"}).code, 0);
        for (const QString &folder : {backups, m_dir.filePath(QString("own-%1/a").arg(n)), m_dir.filePath(QString("own-%1").arg(n))}) {
            QVERIFY(::stat(qPrintable(folder), &made) == 0);
            QCOMPARE(int(made.st_mode & 07777), 0700);
        }
    }

    // "-" reads standard input to its end, from a pipe that delivers the
    // file in two pieces as much as from a file.
    void standardInputThroughAPipe_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");
        QTest::newRow("check") << QStringList{"check", "-"} << "-: ok\n";
        QTest::newRow("get") << QStringList{"get", "-", "m_nev"} << "KAPU\n";
        QTest::newRow("set") << QStringList{"set", "-", "m_nev=KAPU2", "-o", "OUT"} << "";
        QTest::newRow("download") << QStringList{"download", "-", "--port", "PORT", "--no-journal", "--quiet"} << "";
    }
    void standardInputThroughAPipe()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        ModuleSimulator sim;
        QVERIFY(sim.start());
        arguments.replaceInStrings(QRegularExpression("^PORT$"), sim.slavePath());
        arguments.replaceInStrings(QRegularExpression("^OUT$"), m_dir.filePath("piped.t16"));
        QProcess process;
        const QString program = QCoreApplication::applicationDirPath() + "/tavir340-cli";
        process.start("sh", QStringList{"-c", "f=$0; p=$1; shift; (head -c 300 \"$f\"; sleep 0.2; tail -c +301 \"$f\") | \"$p\" \"$@\"",
                                        sampleFile("piped.t16"), program} + arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        if (!out.isEmpty())
            QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), out);
    }

    // Backups are never overwritten: two ports whose names make the same
    // file name keep two files, and a link planted at the next backup's name
    // is neither followed nor replaced: the module is not written.
    void backupsNeverReplaceAName()
    {
        const QString folder = m_dir.filePath("kept");
        QVERIFY(QDir().mkpath(folder));
        SimulatorOptions first, second;
        first.linkPath = m_dir.filePath("port a");
        second.linkPath = m_dir.filePath("port_a");
        ModuleSimulator a(first), b(second);
        QVERIFY(a.start() && b.start());
        const QString journal = m_dir.filePath("kept.sqlite");
        const QString file = sampleFile("kept.t16");
        QCOMPARE(cli({"download", file, "--port", first.linkPath, "--port", second.linkPath, "--backup", folder, "--journal", journal,
                      "--quiet"}).code, 0);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);

        // The next entry is the fifth: two backups and two downloads so far.
        const QString victim = m_dir.filePath("victim");
        QVERIFY(QFile(victim).open(QIODevice::WriteOnly));
        const QString planted = folder + "/" + QString(m_dir.filePath("port a")).replace(QRegularExpression("[^A-Za-z0-9._-]"), "_") + "-5.t16";
        QVERIFY(QFile::link(victim, planted));
        const Run refused = cli({"download", file, "--port", first.linkPath, "--backup", folder, "--journal", journal});
        QCOMPARE(refused.code, 2);
        QVERIFY2(refused.out.contains("backup failed, module not written: cannot write") && refused.out.contains("File exists"),
                 qPrintable(refused.out));
        QCOMPARE(fileBytes(victim), QByteArray());
        QCOMPARE(a.downloadsStored(), 1);
    }

    // A content file goes raw to standard output only when that is no
    // terminal: a module's text could hold escape codes.
    void contentIsNotWrittenToATerminal()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString terminal = QString::fromLocal8Bit(::ptsname(master));
        ModuleSimulator sim;
        QVERIFY(sim.start());
        for (const QStringList &arguments : {QStringList{"readup", "--port", sim.slavePath(), "--no-journal"},
                                             QStringList{"set", sampleFile("tty.t16"), "m_nev=X", "-o", "-"}}) {
            QProcess process;
            process.setStandardOutputFile(terminal);
            process.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", arguments);
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), 2);
            QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                     QString("tavir340-cli: standard output is a terminal: give -o FILE, or send it into a pipe or a file\n"));
        }
        QVERIFY(sim.received().isEmpty());
        ::close(master);
    }

    // The same file and settings give the same bytes on the line as the
    // window's download, checksum and separator included.
    void downloadBytesAreTheWindows_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("checkSize");  // -1: no checksum
        QTest::addColumn<char>("separator");
        QTest::newRow("defaults") << QStringList() << -1 << '|';
        QTest::newRow("32 bit sum, separator #") << QStringList({"--checksum", "32", "--separator", "#"}) << 3 << '#';
    }
    void downloadBytesAreTheWindows()
    {
        QFETCH(QStringList, options);
        QFETCH(int, checkSize);
        QFETCH(char, separator);
        SimulatorOptions checking;
        if (checkSize >= 0)
            checking.expectedCheckSize = char(checkSize);
        checking.recordSeparator = separator;
        ModuleSimulator byWindow(checking), byCli(checking);
        QVERIFY(byWindow.start() && byCli.start());
        const QString file = sampleFile("download.t16");

        MainWindow window;
        MessageBoxRecorder opened;
        FileDialog::answerNext(file);
        window.openfile();
        window.linkSettings().Port = byWindow.slavePath();
        window.linkSettings().DownloadSeparator = separator;
        if (checkSize >= 0) {
            window.linkSettings().CheckValue = 1;
            window.linkSettings().CheckSize = char(checkSize);
        }
        downloadAndAccept(window);
        QCOMPARE(byWindow.downloadsStored(), 1);

        const Run run = cli(QStringList({"download", file, "--port", byCli.slavePath()}) + options);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith(byCli.slavePath() + ": download: ok ("), qPrintable(run.out));
        QCOMPARE(byCli.received(), byWindow.received());
        QCOMPARE(byCli.downloadsStored(), 1);
    }

    // readup -o writes, byte for byte, what the window saves after a read-up.
    void readupIsTheWindowsSave()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        QList<QByteArray> fields;
        for (int i = 0; i < 28; ++i)
            fields << "  f" + QByteArray::number(i) + "  ";
        for (int n = 1; n <= 16; ++n)
            fields << "31" + QByteArray::number(3620000 + n);
        fields[7] = "0005";
        sim.setFields(fields);

        MainWindow window;
        window.linkSettings().Port = sim.slavePath();
        MessageBoxRecorder recorder;
        window.readup();
        QVERIFY(jobEnds(window));
        const QString saved = m_dir.filePath("window.t16");
        FileDialog::answerNext(saved);
        window.save();

        const QString written = m_dir.filePath("cli.t16");
        QCOMPARE(cli({"readup", "--port", sim.slavePath(), "-o", written}).code, 0);
        QCOMPARE(fileBytes(written), fileBytes(saved));
        const Run toOutput = cli({"readup", "--port", sim.slavePath()});
        QCOMPARE(toOutput.code, 0);
        QCOMPARE(toOutput.out.toLatin1(), fileBytes(saved));
    }

    // verify and diff name exactly the fields that differ.
    void verifyAndDiffNameTheDifferingFields()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString held = sampleFile("held.t16");
        QCOMPARE(cli({"download", held, "--port", sim.slavePath()}).code, 0);
        QCOMPARE(cli({"verify", held, "--port", sim.slavePath()}).code, 0);

        const QString other = m_dir.filePath("other.t16");
        QCOMPARE(cli({"set", held, "m_nev=KAPU2", "t1=3620", "tc2_1=1", "-o", other}).code, 0);
        const QStringList expected = {
            "  m_nev (Module name): file \"KAPU2\", module \"KAPU\"",
            "  t1 (Telephone 1): file \"3620\", module \"36201234567\"",
            "  tc2_1 (Telephone 1, Input alarm 1): file 1, module 0",
        };
        const Run verify = cli({"verify", other, "--port", sim.slavePath()});
        QCOMPARE(verify.code, 1);
        QCOMPARE(verify.out.split('\n').mid(1, 3), expected);

        const Run diff = cli({"diff", other, held, "--json"});
        QCOMPARE(diff.code, 1);
        const QJsonObject object = QJsonDocument::fromJson(diff.out.toUtf8()).object();
        QCOMPARE(object["result"].toString(), QString("module failed"));
        QStringList named;
        for (const QJsonValue &difference : object["differences"].toArray())
            named << difference["field"].toString() + "=" + difference["expected"].toString() + "/" + difference["found"].toString();
        QCOMPARE(named, QStringList({"m_nev=KAPU2/KAPU", "t1=3620/36201234567", "tc2_1=1/0"}));
        QCOMPARE(cli({"diff", held, held}).code, 0);

        // diff compares as the module stores, as verify does: "5" is "0005".
        FormValues padded = ContentFile::load(held, initialFormValues()).values;
        QCOMPARE(padded.texts[7], QString("5"));
        padded.texts[7] = "0005";
        padded.texts[20] = "\x1b[8m";  // hides what follows on a terminal, unless shown safely
        const QString other2 = m_dir.filePath("padded.t16");
        QCOMPARE(ContentFile::save(other2, padded), ContentFile::SaveStatus::Saved);
        const Run escaped = cli({"diff", held, other2});
        QCOMPARE(escaped.code, 1);
        QCOMPARE(escaped.out, QString("diff: 1 field(s) differ\n  r20: a \"reserve\", b \"\\x1b[8m\"\n"));
    }

    void setRefusesABadValue_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QString>("reason");
        QTest::newRow("letter in the PIN") << "m_pin=12a4" << "m_pin=12a4: only digits and blanks.";
        QTest::newRow("accent in a name") << "m_nev=K\u00C1PU"
                                          << "m_nev=K\u00C1PU: a character the module cannot store (accented letters are not allowed).";
        QTest::newRow("empty name") << "m_nev=" << "m_nev=: empty, and every visible field must be filled.";
        QTest::newRow("restore flag") << "visszaallas=2" << "visszaallas=2: only 1, 0 or nothing.";
        QTest::newRow("plus in a telephone number") << "t3=+3620" << "t3=+3620: only digits and blanks.";
        QTest::newRow("check box") << "tc1_3=yes" << "tc1_3=yes: a check box takes 1 or 0.";
        QTest::newRow("no such field") << "m_name=X" << "m_name=X: no such field.";
        QTest::newRow("escape sequence in a hidden field") << "r20=a\x1b[2Jb"
                                                           << "r20=a\\x1b[2Jb: a control character (a line break, a tab).";
    }
    void setRefusesABadValue()
    {
        QFETCH(QString, assignment);
        QFETCH(QString, reason);
        const QString output = m_dir.filePath("refused.t16");
        const Run run = cli({"set", sampleFile("template.t16"), "m_id=7", assignment, "-o", output});
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err, "tavir340-cli: " + reason + " Nothing was written.\n");
        QVERIFY(!QFile::exists(output));
    }

    // A value longer than its field is refused, not cut without a word, by
    // every command that would send or compare it.
    void tooLongIsSaidNotCut()
    {
        const QString output = m_dir.filePath("cut.t16");
        const CliRun set = cli({"set", sampleFile("template.t16"), "m_pin=123456", "-o", output});
        QCOMPARE(set.code, 2);
        QCOMPARE(set.err, QString("tavir340-cli: m_pin=123456: longer than the field's 4 characters. Nothing was written.\n"));
        QByteArray lines = fileBytes(sampleFile("long.t16"));
        lines.replace("1234\r\n", "123456\r\n");
        QFile raw(output);
        QVERIFY(raw.open(QIODevice::WriteOnly) && raw.write(lines) == lines.size());
        raw.close();
        const QString named = "m_pin (Module PIN): 6 characters, longer than the field's 4 characters";
        const CliRun check = cli({"check", output});
        QCOMPARE(check.code, 2);
        QCOMPARE(check.out, output + ": " + named + "\n");
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString manifest = m_dir.filePath("one.csv");
        QFile units(manifest);
        QVERIFY(units.open(QIODevice::WriteOnly) && units.write("unit\nA\n") == 7);
        units.close();
        for (const QStringList &command : {QStringList{"download", output, "--port", sim.slavePath()},
                                           QStringList{"verify", output, "--port", sim.slavePath()},
                                           QStringList{"diff", output, sampleFile("template.t16")},
                                           QStringList{"provision", output, "--manifest", manifest, "--port", sim.slavePath(), "--again"}}) {
            const CliRun run = cli(command + QStringList{"--no-journal"}.mid(command.first() == "diff" ? 1 : 0));
            QCOMPARE(run.code, 2);
            QCOMPARE(run.err, "tavir340-cli: " + output + ": refused: " + named + "\n");
        }
        QVERIFY(sim.received().isEmpty());
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no port") << QStringList({"download", "FILE"}) << 2 << "usage: tavir340-cli download FILE";
        QTest::newRow("unknown option") << QStringList({"verify", "--frobnicate"}) << 2 << "Unknown option 'frobnicate'.";
        QTest::newRow("no such file") << QStringList({"download", "none.t16", "-p", "PORT"}) << 2 << "none.t16: no such file";
        QTest::newRow("bad checksum") << QStringList({"download", "FILE", "-p", "P", "--checksum", "12"}) << 2
                                      << "--checksum takes 8, 16, 24, 32 or off";
        QTest::newRow("missing port") << QStringList({"verify", "FILE", "-p", "/nonexistent/tty"}) << 3
                                      << "/nonexistent/tty: verify: cannot open the port: /nonexistent/tty: missing";
        QTest::newRow("unknown command") << QStringList({"upload"}) << 2 << "no command \"upload\"";
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        arguments.replaceInStrings("FILE", sampleFile("codes.t16"));
        const Run run = cli(arguments);
        QCOMPARE(run.code, code);
        QVERIFY2((run.out + run.err).contains(message), qPrintable(run.out + run.err));
    }

    // A port another program holds gives code 3 and names the holder.
    void busyPortNamesItsHolder()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        SerialLink holder;
        QCOMPARE(holder.open(sim.slavePath(), 1500), SerialLink::OpenStatus::Opened);
        const Run run = cli({"download", sampleFile("busy.t16"), "--port", sim.slavePath(), "--json"});
        QCOMPARE(run.code, 3);
        const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(object["result"].toString(), QString("port unavailable"));
        QCOMPARE(object["message"].toString(), QString("cannot open the port: %1: busy (tst_cli, %2)")
                                                   .arg(sim.slavePath().mid(5)).arg(QCoreApplication::applicationPid()));
        QVERIFY(sim.received().isEmpty());
    }

    // Ctrl+C, SIGTERM or SIGHUP in the middle of four downloads ends them
    // all, releases every port and lock file, and says how each port ended.
    void interruptFreesEveryPort_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void interruptFreesEveryPort()
    {
        QFETCH(int, signal);
        std::vector<std::unique_ptr<ModuleSimulator>> sims;
        QStringList arguments = {"download", sampleFile("four.t16"), "--quiet"};
        for (int i = 0; i < 4; ++i) {
            SimulatorOptions paced;
            paced.paced = true;
            sims.push_back(std::make_unique<ModuleSimulator>(paced));
            QVERIFY(sims.back()->start());
            arguments << "--port" << sims.back()->slavePath();
        }
        QProcess process;
        process.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", arguments);
        QVERIFY(process.waitForStarted());
        for (const auto &sim : sims) {
            QTRY_VERIFY(sim->received().size() > 20);  // every record is on its way
            // and every port is locked for the program, each by a lock of its own
            const QByteArray lock = fileBytes(SerialDevice::lockFilePath(sim->slavePath()));
            QCOMPARE(lock.left(11), QByteArray::number(process.processId()).rightJustified(10, ' ') + '\n');
        }
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 4);
        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(lines[i].section(':', 0, 1), sims[i]->slavePath() + ": download");
            QVERIFY2(lines[i].contains(": interrupted: the module's content is now unknown; run the download again"), qPrintable(lines[i]));
            QVERIFY(SerialLink::probe(sims[i]->slavePath()));
            QVERIFY(!QFile::exists(SerialDevice::lockFilePath(sims[i]->slavePath())));
        }
    }

    // The backup holds what the module held before it was written; a module
    // that cannot be read up is not written, unless forced.
    void backupsHoldWhatTheModuleHeld()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString before = sampleFile("before.t16");
        QCOMPARE(cli({"download", before, "--port", sim.slavePath()}).code, 0);
        const QString readBefore = m_dir.filePath("readbefore.t16");
        QCOMPARE(cli({"readup", "--port", sim.slavePath(), "-o", readBefore}).code, 0);

        const QString after = m_dir.filePath("after.t16");
        QCOMPARE(cli({"set", before, "m_nev=UJ", "-o", after}).code, 0);
        const QString folder = m_dir.filePath("backups");
        const Run run = cli({"download", after, "--port", sim.slavePath(), "--backup", folder, "--json"});
        QCOMPARE(run.code, 0);
        const QString backup = QJsonDocument::fromJson(run.out.toUtf8()).object()["backup"].toString();
        QVERIFY2(QRegularExpression(QRegularExpression::escape(folder) + "/pts_\\d+-\\d+\\.t16").match(backup).hasMatch(),
                 qPrintable(backup));
        struct stat kept {};
        QCOMPARE(::stat(QFile::encodeName(backup).constData(), &kept), 0);
        QCOMPARE(kept.st_mode & 07777, 0600u);  // it holds a PIN
        QCOMPARE(fileBytes(backup), fileBytes(readBefore));
        QCOMPARE(sim.downloadsStored(), 2);

        SimulatorOptions broken;
        broken.scriptedAnswer = ModuleSimulator::uploadAnswer(QList<QByteArray>(43, "x"));
        ModuleSimulator unreadable(broken);
        QVERIFY(unreadable.start());
        const Run refused = cli({"download", after, "--port", unreadable.slavePath(), "--backup", folder});
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.out.contains("backup failed, module not written: the module sent 43 fields instead of 44"),
                 qPrintable(refused.out));
        QCOMPARE(unreadable.downloadsStored(), 0);
        QCOMPARE(cli({"download", after, "--port", unreadable.slavePath(), "--backup", folder, "--write-unread"}).code, 0);
        QCOMPARE(unreadable.downloadsStored(), 1);
        // The old spelling, as scripts of earlier versions give it.
        QCOMPARE(cli({"download", after, "--port", unreadable.slavePath(), "--backup", folder, "--force"}).code, 0);
        QCOMPARE(unreadable.downloadsStored(), 2);
    }

    // The small things a script leans on: get, a dry run that opens no port,
    // a download proved by a read-back, a file from standard input, and the
    // refusals of a port given twice and of a folder given as a file.
    void smallerCommands()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString file = sampleFile("small.t16");
        QCOMPARE(cli({"get", file, "m_nev", "tc1_1", "tc2_1"}).out, QString("KAPU\n1\n0\n"));
        const CliRun dry = cli({"download", file, "--port", sim.slavePath(), "--dry-run"});
        QCOMPARE(dry.code, 0);
        QCOMPARE(dry.out.count('\n'), 1 + 44);
        QVERIFY(dry.out.startsWith(QString("       0 ms  %1  >  7E 7D  |~}|\n").arg(sim.slavePath())));
        QVERIFY(sim.received().isEmpty());

        QProcess fromInput;
        fromInput.setStandardInputFile(file);
        fromInput.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                        {"download", "-", "--verify", "--port", sim.slavePath(), "--no-journal"});
        QVERIFY(fromInput.waitForFinished(30000));
        QCOMPARE(fromInput.exitCode(), 0);
        QVERIFY(fromInput.readAllStandardOutput().startsWith(sim.slavePath().toUtf8() + ": download and verify: ok ("));

        QCOMPARE(cli({"verify", file, "--port", sim.slavePath(), "--port", sim.slavePath()}).err,
                 QString("tavir340-cli: %1 is given twice: one port takes one module\n").arg(sim.slavePath()));
        QCOMPARE(cli({"check", m_dir.path()}).err, QString("tavir340-cli: %1: is a folder\n").arg(m_dir.path()));
    }

    // The customer's hand-over sheet: one page, every number with its name
    // (from the phone book beside the file) and what it may do in words, the
    // number to call and from which numbers, values in words, the PIN only
    // when asked for (and the file then its owner's alone); in English, or
    // in Hungarian under a Hungarian desktop.
    // The folders backups and labels go into are ours: a link at the name is
    // not followed, another user's folder and one anyone may write in are
    // refused before a port is opened, and a new one is made 0700 whatever
    // the umask.
    void backupAndLabelFoldersAreOurs_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");
        for (const char *option : {"--backup", "--labels"}) {
            QTest::addRow("%s link", option) << option << "link" << "a symbolic link";
            QTest::addRow("%s her folder", option) << option << "her folder" << "a folder of nobody";
            QTest::addRow("%s open folder", option) << option << "open folder" << "a folder others may write in";
            QTest::addRow("%s new", option) << option << "new" << QString();
        }
    }
    void backupAndLabelFoldersAreOurs()
    {
        QFETCH(QString, option);
        QFETCH(QString, kind);
        QFETCH(QString, said);
        if (kind == "her folder" && ::geteuid() != 0)
            QSKIP("only root can give a folder to another user");
        const QString folder = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '_'));
        const QString elsewhere = folder + "-elsewhere";
        QVERIFY(QDir().mkpath(elsewhere));
        if (kind == "link")
            QVERIFY(QFile::link(elsewhere, folder));
        else if (kind != "new")
            QVERIFY(QDir().mkpath(folder) && ::chmod(qPrintable(folder), 0777) == 0);
        if (kind == "her folder")
            QVERIFY(::chown(qPrintable(folder), 65534, 65534) == 0);
        const QString journal = m_dir.filePath("folders.sqlite");
        const QString manifest = m_dir.filePath("folders.csv");
        QVERIFY(writeBytes(manifest, "unit\nu1\n"));
        const QStringList command = option == "--backup"
            ? QStringList{"download", sampleFile("sheetbase.t16"), "--port", m_dir.filePath("no-port"), option, folder}
            : QStringList{"provision", sampleFile("sheetbase.t16"), "--manifest", manifest, "--journal", journal,
                          "--port", m_dir.filePath("no-port"), option, folder};
        const mode_t umask = ::umask(0);
        const CliRun run = cli(command);
        ::umask(umask);
        if (kind == "new") {
            QVERIFY2(run.code == 3, qPrintable(run.err));  // on to the port, which is not there
            QCOMPARE(QFileInfo(folder).permissions() & 0x0fff, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        } else {
            QVERIFY2(run.code == 2 && run.err.contains(said), qPrintable(run.err));
        }
        QCOMPARE(QDir(elsewhere).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void handOverSheet()
    {
        const QString file = m_dir.filePath("sheet.t16");
        QCOMPARE(cli({"set", sampleFile("sheetbase.t16"), "m_pin=4321", "t2=36301234567", "tc2_2=1", "tc3_2=1", "t5=36209876543",
                      "-o", file}).code, 0);
        QVERIFY(writeBytes(phoneBookPath(file), "row;name;number\r\n2;Kovács Ödön;+36301234567\r\nSIM;;+36201112222\r\n"));
        QVERIFY(writeBytes(m_dir.filePath("pin.pdf"), "old") && QFile::setPermissions(m_dir.filePath("pin.pdf"), QFile::Permissions(0x6644)));
        for (const bool withPin : {false, true}) {
            const QString pdf = m_dir.filePath(withPin ? "pin.pdf" : "nopin.pdf");
            QCOMPARE(cli(QStringList{"sheet", file, "-o", pdf, "--installer", "Kapu Kft."} + (withPin ? QStringList{"--with-pin"} : QStringList())).code, 0);
            const QString shown = pdfText(pdf);
            QCOMPARE(shown.count('\f'), 1);
            QVERIFY2(shown.contains(QRegularExpression("\\n2 +Kovács Ödön +\\+36301234567 +yes +- +- +yes\\n")), qPrintable(shown));
            QVERIFY2(shown.contains(QRegularExpression("\\n5 +\\+36209876543 +- +- +- +-\\n")), qPrintable(shown));
            QVERIFY2(shown.simplified().contains("Call +36201112222 from these numbers: +36201234567, Kovács Ödön.") && shown.contains("5 seconds"),
                     qPrintable(shown));
            QVERIFY(shown.contains("Installed by: Kapu Kft."));
            QCOMPARE(shown.contains("4321"), withPin);
            QCOMPARE(QFileInfo(pdf).permissions() & (QFile::ReadOther | QFile::ReadGroup), withPin ? QFile::Permissions() : QFile::ReadOther | QFile::ReadGroup);
        }
        QProcess hungarian;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LANG", "hu_HU.UTF-8");
        hungarian.setProcessEnvironment(environment);
        hungarian.start(QCoreApplication::applicationDirPath() + "/tavir340-cli", {"sheet", file, "-o", m_dir.filePath("hu.pdf"), "--installer", "Kapu Kft."});
        QVERIFY(hungarian.waitForFinished(30000) && hungarian.exitCode() == 0);
        const QString magyar = pdfText(m_dir.filePath("hu.pdf"));
        QVERIFY2(magyar.contains("Telepítette: Kapu Kft.") && magyar.contains("5 másodperc") && magyar.contains("Hívja a +36201112222 számot"),
                 qPrintable(magyar));
        // A sheet that cannot be written is said so, and nothing is left.
        const CliRun folder = cli({"sheet", file, "-o", m_dir.path()});
        QCOMPARE(folder.code, 2);
        QVERIFY2(folder.err.startsWith(QString("tavir340-cli: cannot write %1: ").arg(m_dir.path())), qPrintable(folder.err));
        QCOMPARE(cli({"sheet", file}).code, 2);  // no -o
    }

    // Every way an import is refused before the content file is touched:
    // the contacts file, its table, and each option.
    void phonesImportRefusals_data()
    {
        QTest::addColumn<QString>("contacts");  // written to a file; FIFO and MISSING stand for themselves
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("said");
        QTest::newRow("no such file") << "MISSING" << QStringList() << ": " + QString::fromLocal8Bit(std::strerror(ENOENT));
        QTest::newRow("a FIFO") << "FIFO" << QStringList() << ": not a regular file";
        QTest::newRow("a quote never closed") << "a,\"+36 30 123 4567\n" << QStringList() << ": row 1: a quote is never closed";
        QTest::newRow("no numbers") << "Name,Town\nKapu,Pécs\n" << QStringList() << ": no column of telephone numbers";
        QTest::newRow("unknown region") << "+36 30 123 4567\n" << QStringList{"--region", "XX"} << "--region XX: no country of that code";
        QTest::newRow("an input that is none") << "+36 30 123 4567\n" << QStringList{"--alarm", "3"} << "--alarm takes the inputs 1 and 2";
        QTest::newRow("an output that is none") << "+36 30 123 4567\n" << QStringList{"--control", "1,2"} << "--control takes the outputs 3 and 4";
    }
    void phonesImportRefusals()
    {
        QFETCH(QString, contacts);
        QFETCH(QStringList, options);
        QFETCH(QString, said);
        const QString path = m_dir.filePath(QStringLiteral("contacts, %1").arg(QLatin1String(QTest::currentDataTag())));
        if (contacts == "FIFO")
            QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
        else if (contacts != "MISSING")
            QVERIFY(writeBytes(path, contacts.toUtf8()));
        const QString content = sampleFile("refusals.t16");
        const QByteArray before = fileBytes(content);
        const Run run = cli(QStringList{"phones", "import", path, "--into", content} + options);
        QCOMPARE(run.code, 2);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        QCOMPARE(fileBytes(content), before);
    }

    // phones import: a spreadsheet's semicolon table without headings, every
    // class of entry said line by line, the clean numbers in the free rows
    // with the permissions asked for; more than fit refused with the file
    // untouched; the export reads back as the same numbers.
    void phonesImportAndExport()
    {
        const QString content = sampleFile("phones.t16");
        const QString table = m_dir.filePath("phones.csv");
        QVERIFY(writeBytes(table, "Kapu;+36 30 123 4567\nGarázs;06-20/555-1234\n\"Iroda; 2\";0036 70 987 6543\nKülföld;+44 7911 123456\n"
                                  "Dupla;06 30 123 4567\nRégi;36201234567\nVezetékes;06 1 234 5678\nRossz;kapu\nHosszú;+49 30 12345678901\n"));
        const QString out = m_dir.filePath("phones-out.t16");
        const Run run = cli({"phones", "import", table, "--into", content, "--alarm", "1,2", "--control", "3", "-o", out});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out.split('\n'), (QStringList{
            "read as UTF-8; numbers without a country as HU (+36), the form's",
            "import   line 1: Kapu \"+36 30 123 4567\" -> 36301234567",
            "import   line 2: Garázs \"06-20/555-1234\" -> 36205551234",
            "import   line 3: Iroda; 2 \"0036 70 987 6543\" -> 36709876543",
            "import   line 4: Külföld \"+44 7911 123456\" -> 447911123456",
            "warning  line 5: Dupla \"06 30 123 4567\" -> 36301234567: already earlier in the file",
            "warning  line 6: Régi \"36201234567\" -> 36201234567: already in the form",
            "warning  line 7: Vezetékes \"06 1 234 5678\" -> 3612345678: a landline, where a mobile is usual",
            "error    line 8: Rossz \"kapu\": not a telephone number",
            "error    line 9: Hosszú \"+49 30 12345678901\": longer than the telephone field's 14 digits",
            "imported 4 into rows 2, 3, 4, 5; not imported: warnings 3, errors 2", ""}));
        QCOMPARE(cli({"get", out, "t2", "t5", "t6", "tc2_2", "tc1_2", "tc4_2", "tc3_2"}).out,
                 QString("36301234567\n447911123456\n\n1\n1\n1\n0\n"));

        FormValues full = initialFormValues();
        for (int row = 2; row <= TelephoneCount; ++row)
            full.texts[FieldItemCount + row - 1] = QString::number(36301000000 + row);
        QCOMPARE(ContentFile::save(out, full), ContentFile::SaveStatus::Saved);
        const Run refused = cli({"phones", "import", table, "--into", out});
        QCOMPARE(refused.code, 2);
        QVERIFY2(refused.err.contains("5 numbers to import, but 1 free telephone row; nothing was written"), qPrintable(refused.err));
        QCOMPARE(fileBytes(out), ContentFile::serialize(full));

        for (const char *name : {"back.csv", "back.vcf"}) {
            const QString exported = m_dir.filePath(QLatin1String(name));
            QCOMPARE(cli({"phones", "export", out, "-o", exported}).code, 0);
            const Run again = cli({"phones", "import", exported, "--into", sampleFile("empty.t16"), "--region", "US", "-o", "-"});
            QCOMPARE(again.code, 0);
            QVERIFY2(again.err.contains("\nimport   line"), qPrintable(again.err));
            QVERIFY2(again.err.contains("imported 15 into rows 2,"), qPrintable(again.err));
        }
    }

    // Contacts as real programs export them, under an English desktop: the
    // country is the form's, every number column is read, the names go into
    // the phone book beside the file written; columns and contacts can be
    // named, an encoding chosen, and a file with nothing to import ends 2.
    void phonesFromTheWorld_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("imported");
        QTest::addColumn<QString>("named");  // a name the phone book keeps
        QTest::newRow("Google, current") << "google-current.csv" << QStringList() << "imported 2" << "Éva Mária Szabó";
        QTest::newRow("Google, older") << "google-old.csv" << QStringList() << "imported 3" << "Nagy Anna";
        QTest::newRow("Outlook") << "outlook.csv" << QStringList() << "imported 2" << "Zsófia Kiss";
        QTest::newRow("Excel, Windows-1250") << "excel-hu-1250.csv" << QStringList() << "imported 3" << "Szőke Győző";
        QTest::newRow("Excel, Unicode text") << "excel-unicode.txt" << QStringList() << "imported 2" << "Árvai Éva";
        QTest::newRow("Android 2.1") << "android-21.vcf" << QStringList() << "imported 2" << "Kovács Ödön";
        QTest::newRow("iPhone") << "iphone.vcf" << QStringList() << "imported 1" << "Tóth Péter";
        QTest::newRow("a column named") << "outlook.csv" << QStringList{"--number-column", "Mobile Phone", "--name-column", "Last Name"}
                                        << "imported 2" << "Kiss";
        QTest::newRow("a landline picked") << "outlook.csv" << QStringList{"--only", "Péter Tóth"} << "imported 2" << "Péter Tóth";
        QTest::newRow("the encoding named") << "excel-hu-1250.csv" << QStringList{"--encoding", "ISO-8859-2"} << "imported 3" << "Kovács Ödön";
    }
    void phonesFromTheWorld()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, options);
        QFETCH(QString, imported);
        QFETCH(QString, named);
        const QString out = m_dir.filePath(QStringLiteral("world-%1.t16").arg(QTest::currentDataTag()).replace(' ', '-').replace(',', ""));
        QProcess run;
        QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
        english.insert("LANG", "en_US.UTF-8");
        english.insert("LANGUAGE", "en");
        run.setProcessEnvironment(english);
        run.start(QCoreApplication::applicationDirPath() + "/tavir340-cli",
                  QStringList{"phones", "import", QStringLiteral(TAVIR340_CONTACTS "/") + file, "--into", sampleFile("empty.t16"), "-o", out} + options);
        QVERIFY(run.waitForFinished(30000));
        const QString said = QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError());
        QCOMPARE(run.exitCode(), 0);
        QVERIFY2(said.contains("as HU (+36), the form's") && said.contains(imported + " into rows"), qPrintable(said));
        QVERIFY2(QString::fromUtf8(fileBytes(phoneBookPath(out))).contains(named), qPrintable(said));
    }

    void phonesWithNothingToImport()
    {
        const QString content = sampleFile("nothing.t16");
        const QByteArray before = fileBytes(content);
        const Run none = cli({"phones", "import", QStringLiteral(TAVIR340_CONTACTS "/outlook.csv"), "--into", content, "--only", "nobody"});
        QCOMPARE(none.code, 2);
        QVERIFY2(none.err.contains("no number to import; nothing was written"), qPrintable(none.err));
        const Run column = cli({"phones", "import", QStringLiteral(TAVIR340_CONTACTS "/outlook.csv"), "--into", content, "--number-column", "Fax"});
        QCOMPARE(column.code, 2);
        QVERIFY2(column.err.contains("no column \"Fax\""), qPrintable(column.err));
        QCOMPARE(fileBytes(content), before);
    }

    // Every output is checked: a full disk leaves the old file as it was, and
    // a backup that did not reach the disk keeps the module from being
    // written; what was done but not written ends in exit code 5.
    void outputsThatCannotBeWritten()
    {
        const QByteArray good = fileBytes(sampleFile("good.t16"));
        REQUIRE_ROOT("mounts a small tmpfs and fills it");
        FullFolder full(good);
        QVERIFY2(full.error().isEmpty(), qPrintable(full.error()));
        const QString kept = full.filePath("kept.t16");
        const QString noSpace = QString::fromLocal8Bit(strerror(ENOSPC));
        ModuleSimulator sim;
        QVERIFY(sim.start());

        Run run = cli({"set", sampleFile("template.t16"), "m_id=7", "-o", kept});
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err, QString("tavir340-cli: cannot write %1: %2\n").arg(kept, noSpace));

        run = cli({"readup", "--port", sim.slavePath(), "-o", kept});
        QCOMPARE(run.code, 5);
        QVERIFY2(run.out.contains(QString("read-up: ok, but cannot write %1: %2").arg(kept, noSpace)), qPrintable(run.out));

        run = cli({"download", sampleFile("new.t16"), "--port", sim.slavePath(), "--backup", full.path()});
        QCOMPARE(run.code, 2);
        QVERIFY2(run.out.contains("backup: backup failed, module not written: cannot write " + full.path()), qPrintable(run.out));
        QCOMPARE(sim.downloadsStored(), 0);

        run = cli({"download", sampleFile("new.t16"), "--port", sim.slavePath(), "--log", full.filePath("exchange.log")});
        QCOMPARE(run.code, 5);
        QCOMPARE(run.err, QString("tavir340-cli: cannot write the log %1: %2\n").arg(full.filePath("exchange.log"), noSpace));
        QCOMPARE(sim.downloadsStored(), 1);
        QCOMPARE(full.kept(), good);
        QCOMPARE(QDir(full.path()).entryList(QDir::Files).size(), 2);  // nothing half-written left behind

        const QString journal = m_dir.filePath("full-status.sqlite");
        QCOMPARE(cli({"journal", "init", "--journal", journal}).code, 0);
        QFile manifest(m_dir.filePath("full-status.csv"));
        QVERIFY(manifest.open(QIODevice::WriteOnly) && manifest.write("unit,m_nev\nu1,A\n") > 0);
        manifest.close();
        const QStringList status = {"provision", sampleFile("status.t16"), "--manifest", manifest.fileName(), "--journal", journal, "--status"};
        for (const QStringList &arguments : {QStringList{"readup", "--port", sim.slavePath()}, QStringList{"ports"}, status,
                                             status + QStringList{"--csv"}}) {
            run = cli(arguments, "/dev/full");
            QCOMPARE(run.code, 5);
            QVERIFY2(run.err.contains("cannot write to standard output: " + noSpace), qPrintable(run.err));
        }
        run = cli({"readup", "--port", sim.slavePath()}, "-");
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err, QString("tavir340-cli: standard output is closed\n"));
    }

    // The exchange log: a line per burst, with time, port, direction, hex
    // and text.
    void exchangeLog()
    {
        ModuleSimulator sim;
        QVERIFY(sim.start());
        const QString log = m_dir.filePath("exchange.log");
        QCOMPARE(cli({"download", sampleFile("logged.t16"), "--port", sim.slavePath(), "--log", log}).code, 0);
        const QStringList lines = QString::fromUtf8(fileBytes(log)).split('\n', Qt::SkipEmptyParts);
        const QString port = QRegularExpression::escape(sim.slavePath());
        QVERIFY2(QRegularExpression("^ +\\d+ ms  " + port + "  >  7E 7D  \\|~\\}\\|$").match(lines.value(0)).hasMatch(),
                 qPrintable(lines.value(0)));
        QVERIFY2(QRegularExpression("^ +\\d+ ms  " + port + "  <  52 3E  \\|R>\\|$").match(lines.value(1)).hasMatch(),
                 qPrintable(lines.value(1)));
        QVERIFY(lines.value(2).contains("  >  33 36 33 30"));  // the record, as one burst
        QVERIFY(lines.last().contains("  <  4F 4B  |OK|"));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
