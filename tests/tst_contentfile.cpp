#include "core/content/contentfile.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// The content file's format on plain values: the byte image of a save, and
// what the reader accepts and refuses.
class TestContentFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray lines(const QList<QByteArray> &values, const QByteArray &end = "\r\n")
    {
        QByteArray out;
        for (const QByteArray &v : values)
            out += v + end;
        return out;
    }
    // 108 value lines: texts "v0".."v43", then checks alternating 1/0.
    static QList<QByteArray> sampleLines()
    {
        QList<QByteArray> out;
        for (int i = 0; i < 44; ++i)
            out << "v" + QByteArray::number(i);
        for (int k = 0; k < 64; ++k)
            out << (k % 2 ? "0" : "1");
        return out;
    }
    static ContentFile::LoadResult parseBytes(const QByteArray &bytes)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        return ContentFile::parse(buffer, initialFormValues());
    }

private slots:
    void initialFormImage()
    {
        const QByteArray bytes = ContentFile::serialize(initialFormValues());
        QByteArray expected = "36309888000\r\n";
        expected += QByteArray(43, 'x').replace('x', "\r\n");
        for (int k = 0; k < 64; ++k)
            expected += "0\r\n";
        QCOMPARE(bytes, expected);
        QCOMPARE(bytes.count("\r\n"), 108);
    }

    void roundTripEveryValue()
    {
        FormValues values = initialFormValues();
        for (int i = 0; i < 44; ++i)
            values.texts[i] = QString("f%1").arg(i).left(lineEditCatalogue()[i].maxLength);
        values.texts[20] = QString::fromLatin1("\xE9\xA4\xFF r20");  // hidden field, any Latin-1
        for (int k = 0; k < 64; k += 3)
            values.checked[k] = true;
        QTemporaryDir dir;
        const QString path = dir.filePath("a.t16");
        QCOMPARE(ContentFile::save(path, values), ContentFile::SaveStatus::Saved);
        const ContentFile::LoadResult loaded = ContentFile::load(path, initialFormValues());
        QCOMPARE(loaded.status, ContentFile::LoadStatus::Loaded);
        QCOMPARE(loaded.values.texts, values.texts);
        QCOMPARE(loaded.values.checked, values.checked);

        // Saving what was loaded gives the same bytes.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(ContentFile::serialize(loaded.values), file.readAll());
    }

    void unsavableValues_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("reason");  // -1: saved as it is
        using Reason = ContentFile::SaveProblem::Reason;
        QTest::newRow("CR") << 0 << "1\r2" << int(Reason::LineBreak);
        QTest::newRow("NUL") << 8 << QString(QChar(0)) << int(Reason::NulCharacter);
        QTest::newRow("beyond Latin-1") << 20 << "\u0151" << int(Reason::NotLatin1);
        QTest::newRow("longer than the field") << 1 << "12345" << int(Reason::TooLong);
        QTest::newRow("end mark") << 3 << "---" << int(Reason::EndMark);
        QTest::newRow("end mark within a text") << 3 << "a---" << -1;
    }
    void unsavableValues()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(int, reason);
        FormValues values = initialFormValues();
        values.texts[field] = text;
        const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(values);
        QCOMPARE(problem ? int(problem->reason) : -1, reason);
        if (problem) {
            QCOMPARE(problem->field, field);
            QTemporaryDir dir;
            QCOMPARE(ContentFile::save(dir.filePath("x.t16"), values), ContentFile::SaveStatus::Refused);
            QVERIFY(!QFile::exists(dir.filePath("x.t16")));
        }
    }

    void accepted_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("lastBoxChecked");
        QList<QByteArray> l = sampleLines();
        QTest::newRow("CR LF") << lines(l) << false;
        QTest::newRow("LF only") << lines(l, "\n") << false;
        QByteArray mixed = lines(l.mid(0, 50), "\n") + lines(l.mid(50));
        QTest::newRow("LF and CR LF mixed") << mixed << false;
        QByteArray noEnd = lines(l);
        noEnd.chop(2);
        QTest::newRow("last line without end") << noEnd << false;
        QList<QByteArray> early = l.mid(0, 107);
        QTest::newRow("107 lines and the end mark") << lines(early) + "---\r\nanything\x00\r\n" << false;
        l[107] = "1";
        QTest::newRow("last box checked") << lines(l) << true;
        l[107] = "1 ";
        QTest::newRow("one with a blank") << lines(l) << false;
    }
    void accepted()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, lastBoxChecked);
        const ContentFile::LoadResult result = parseBytes(bytes);
        QCOMPARE(result.status, ContentFile::LoadStatus::Loaded);
        QCOMPARE(result.values.texts[0], QString("v0"));
        QCOMPARE(result.values.texts[43], QString("v43"));
        QCOMPARE(result.values.checked[0], true);
        QCOMPARE(result.values.checked[1], false);
        QCOMPARE(result.values.checked[63], lastBoxChecked);
        QCOMPARE(result.values.groups, initialFormValues().groups);
    }

    void longTextIsCutToTheField()
    {
        QList<QByteArray> l = sampleLines();
        l[1] = "123456789";
        l[28] = QByteArray(40, '7');
        const ContentFile::LoadResult result = parseBytes(lines(l));
        QCOMPARE(result.values.texts[1], QString("1234"));
        QCOMPARE(result.values.texts[28], QString(14, '7'));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QList<QByteArray> l = sampleLines();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("107 lines") << lines(l.mid(0, 107));
        QTest::newRow("109 lines") << lines(l) + "0\r\n";
        QTest::newRow("extra empty line") << lines(l) + "\r\n";
        QTest::newRow("end mark after 108") << lines(l) + "---\r\n";
        QTest::newRow("end mark early") << lines(l.mid(0, 5)) + "---\r\n" + lines(l);
        QTest::newRow("CR only") << lines(l, "\r");
        QByteArray strayCr = lines(l);
        strayCr.replace("v7\r\n", "v\r7\r\n");
        QTest::newRow("stray CR") << strayCr;
        QByteArray nul = lines(l);
        nul.replace("v3", QByteArray("v\0", 2));
        QTest::newRow("NUL byte") << nul;
        QList<QByteArray> longLine = l;
        longLine[5] = QByteArray(ContentFile::MaxLineBytes + 1, 'a');
        QTest::newRow("very long line") << lines(longLine);
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char(i * 37 % 256);
        QTest::newRow("binary") << binary;
    }
    void refused()
    {
        QFETCH(QByteArray, bytes);
        const ContentFile::LoadResult result = parseBytes(bytes);
        QCOMPARE(result.status, ContentFile::LoadStatus::Malformed);
        QCOMPARE(result.values, initialFormValues());
    }

    void bigFileIsReadOnlyAsFarAsNeeded()
    {
        QByteArray big;
        for (int i = 0; i < 400000; ++i)
            big += "0123456789\r\n";  // several megabytes of short lines
        QBuffer buffer(&big);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(ContentFile::parse(buffer, initialFormValues()).status, ContentFile::LoadStatus::Malformed);
        QVERIFY(buffer.pos() < 2000);

        QByteArray oneLine(8 * 1024 * 1024, 'x');
        QBuffer single(&oneLine);
        single.open(QIODevice::ReadOnly);
        QCOMPARE(ContentFile::parse(single, initialFormValues()).status, ContentFile::LoadStatus::Malformed);
        QVERIFY(single.pos() <= ContentFile::MaxLineBytes + 2);
    }

    void filesOnDisk()
    {
        QTemporaryDir dir;
        QCOMPARE(ContentFile::load(dir.filePath("missing.t16"), initialFormValues()).status,
                 ContentFile::LoadStatus::Missing);
        QCOMPARE(ContentFile::load(dir.path(), initialFormValues()).status,
                 ContentFile::LoadStatus::NotAFile);
        const QString pipe = dir.filePath("pipe.t16");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QCOMPARE(ContentFile::load(pipe, initialFormValues()).status, ContentFile::LoadStatus::NotAFile);
        QCOMPARE(ContentFile::load("/dev/zero", initialFormValues()).status, ContentFile::LoadStatus::NotAFile);
        QCOMPARE(ContentFile::save(dir.path(), initialFormValues()), ContentFile::SaveStatus::WriteFailed);
        QCOMPARE(ContentFile::save(dir.filePath("no/such/folder.t16"), initialFormValues()), ContentFile::SaveStatus::WriteFailed);
    }

    void displayName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "/tmp/x/conf.t16" << "conf.t16";
        QTest::newRow("two points") << "/tmp/a.b.t16" << "a.b.t16";
        QTest::newRow("no point") << "/tmp/conf" << "conf.";
        QTest::newRow("default") << "default16.ui" << "default16.ui";
    }
    void displayName()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(ContentFile::displayName(path), name);
    }
};

QTEST_GUILESS_MAIN(TestContentFile)
#include "tst_contentfile.moc"
