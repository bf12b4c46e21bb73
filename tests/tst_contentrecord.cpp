#include "sampleform.h"
#include "core/record/contentrecord.h"

#include <QTest>

// Builds records from plain form values and checks them byte for byte.
class TestContentRecord : public QObject
{
    Q_OBJECT

private:
    static QList<int> freeTextFields()
    {
        return {3, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27};
    }
    static int indexOfBox(const QString &name)
    {
        const QList<CheckBoxSpec> &boxes = checkBoxCatalogue();
        for (int k = 0; k < boxes.size(); ++k)
            if (boxes[k].name == name)
                return k;
        return -1;
    }

private slots:
    void fullFormIs747CharactersWithZeroDigits()
    {
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.texts[FieldItemCount] = "36201234567";
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Download).error, RecordError::None);
        const QString &record = settings.RecordText;
        QCOMPARE(record.size(), 747);
        const QStringList items = record.split('|');
        QCOMPARE(items.size(), 44);
        for (const QString &item : items)
            QCOMPARE(item.size(), 16);
        QCOMPARE(items[0], QString("36309888000     "));
        QCOMPARE(items[7], QString("0005            "));
        QCOMPARE(items[28], QString("0036201234567   "));
        for (int n = 0; n < TelephoneCount; ++n)
            QVERIFY(items[FieldItemCount + n].startsWith("00"));
        QCOMPARE(items[43], QString("00              "));
    }

    void releTimePadding_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("item");
        QTest::newRow("one digit") << "5" << "0005            ";
        QTest::newRow("four digits") << "1234" << "1234            ";
        QTest::newRow("blank kept") << " 7" << "00 7            ";
    }
    void releTimePadding()
    {
        QFETCH(QString, typed);
        QFETCH(QString, item);
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.texts[7] = typed;
        buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(settings.RecordText.split('|')[7], item);
    }

    void permissionDigits()
    {
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.checked[indexOfBox("tc1_3")] = true;
        form.checked[indexOfBox("tc4_3")] = true;
        form.checked[indexOfBox("tc2_16")] = true;
        form.checked[indexOfBox("tc3_16")] = true;
        form.checked[indexOfBox("tc1_1")] = true;
        form.checked[indexOfBox("tc2_1")] = true;
        form.checked[indexOfBox("tc3_1")] = true;
        form.checked[indexOfBox("tc4_1")] = true;
        buildContentRecord(form, settings, RecordPurpose::Download);
        const QStringList items = settings.RecordText.split('|');
        QVERIFY(items[FieldItemCount + 2].startsWith("21"));
        QVERIFY(items[FieldItemCount + 15].startsWith("12"));
        QVERIFY(items[FieldItemCount].startsWith("33"));
    }

    void requiredFields()
    {
        for (int i = 0; i < RequiredFieldCount; ++i) {
            LinkSettings settings;
            settings.RecordText = "old";
            FormValues form = downloadableForm();
            form.texts[i].clear();
            const QString name = lineEditCatalogue()[i].name;
            QTest::ignoreMessage(QtDebugMsg, qPrintable(name));
            const RecordResult result = buildContentRecord(form, settings, RecordPurpose::Download);
            QCOMPARE(result.error, RecordError::MissingField);
            QCOMPARE(result.field, i);
            QVERIFY(settings.RecordText.isEmpty());
        }
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.texts[20].clear();  // r20
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Download).error, RecordError::None);
    }

    void accentCheck_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("passes");
        QTest::newRow("currency sign") << 3 << QString("A\u00A4B") << true;
        QTest::newRow("e acute") << 3 << QString("K\u00E9K") << false;
        QTest::newRow("above Latin-1") << 5 << QString("\u0151") << false;
        QTest::newRow("hidden field") << 20 << QString("\u00E9") << false;
    }
    void accentCheck()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, passes);
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.texts[field] = text;
        const RecordResult result = buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(result.error == RecordError::None, passes);
        if (!passes) {
            QCOMPARE(result.error, RecordError::AccentedCharacter);
            QCOMPARE(settings.RecordText.size(), FieldItemCount * 17);  // kept as far as built
        }
    }

    void checksum_data()
    {
        QTest::addColumn<char>("checkSize");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("16bit") << char(1) << "1";
        QTest::newRow("32bit") << char(3) << "17";
        QTest::newRow("8bit") << char(0) << "1";
        QTest::newRow("24bit") << char(2) << "1";
        QTest::newRow("fixed A") << 'A' << "A";
    }
    void checksum()
    {
        QFETCH(char, checkSize);
        QFETCH(QString, suffix);
        // Fill the free-text fields until the codes add up to 52 369.
        FormValues form = downloadableForm();
        for (int i : freeTextFields())
            form.texts[i].clear();
        LinkSettings plain;
        buildContentRecord(form, plain, RecordPurpose::Verify);
        int missing = 52369 + '|';  // the verify text has one separator more
        for (QChar c : plain.RecordText)
            missing -= c.unicode();
        for (int i : freeTextFields()) {
            QString text;
            while (text.size() < 16 && missing > 0) {
                const int add = std::min(missing, 'z' - ' ');
                text += QChar(' ' + add);
                missing -= add;
            }
            form.texts[i] = text;
        }
        QCOMPARE(missing, 0);
        LinkSettings settings;
        settings.CheckValue = 1;
        settings.CheckSize = checkSize;
        buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(settings.RecordText.size(), 747 + suffix.size());
        QCOMPARE(settings.RecordText.right(suffix.size()), suffix);
    }

    void negativeSumKeepsSign()
    {
        FormValues form = downloadableForm();
        for (int i : freeTextFields())
            form.texts[i] = QString(16, QChar(0xA4));  // each counts -92
        LinkSettings settings;
        settings.CheckValue = 1;
        settings.CheckSize = 3;
        buildContentRecord(form, settings, RecordPurpose::Download);
        // 23 × 16 × -92 plus the rest: -16841, whose remainder keeps its sign.
        QCOMPARE(settings.RecordText.mid(747), QString("-9"));
    }

    void verifyText()
    {
        LinkSettings settings;
        settings.CheckValue = 1;
        FormValues form = initialFormValues();  // empty fields are fine for verify
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Verify).error, RecordError::None);
        QCOMPARE(settings.RecordText.size(), 748);
        QVERIFY(settings.RecordText.endsWith('|'));
        QCOMPARE(settings.RecordText.count('|'), 44);
        form.texts[3] = "\u00E9";
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Verify).error, RecordError::AccentedCharacter);
    }

    void separatorInsideText()
    {
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.texts[3] = "A|B";
        RecordResult result = buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(result.error, RecordError::SeparatorInText);
        QCOMPARE(result.field, 3);
        QVERIFY(settings.RecordText.isEmpty());

        // Verify builds its text anyway; the comparison will fail.
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Verify).error, RecordError::None);

        // A digit separator collides with the digits: the first field that
        // holds one is named.
        form = downloadableForm();
        settings.DownloadSeparator = '0';
        result = buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(result.error, RecordError::SeparatorInText);
        QCOMPARE(lineEditCatalogue()[result.field].name, QString("smskp"));

        // A fixed checksum character equal to the separator is no field's fault.
        settings = {};
        settings.CheckValue = 1;
        settings.CheckSize = '|';
        result = buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(result.error, RecordError::SeparatorInText);
        QCOMPARE(result.field, -1);

        settings = {};
        settings.DownloadSeparator = '#';
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Download).error, RecordError::None);
        QCOMPARE(settings.RecordText.count('#'), 43);
        // A separator below the blank cuts the pieces and never goes out itself.
        settings.DownloadSeparator = '\t';
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Download).error, RecordError::None);
    }

    // What goes on the line is checked as bytes: a pasted line end would
    // reach the module as a field end, a letter beyond Latin-1 as a NUL byte.
    // A value the form's own rules forbid (from a file) is refused too.
    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<RecordError>("error");
        QTest::addColumn<FieldRule>("rule");
        QTest::newRow("CR in the name") << 3 << "KA\rPU" << RecordError::ControlCharacter << FieldRule::None;
        QTest::newRow("LF in a hidden field") << 20 << "a\nb" << RecordError::ControlCharacter << FieldRule::None;
        QTest::newRow("tab in a telephone number") << 30 << "36\t20" << RecordError::ControlCharacter << FieldRule::None;
        QTest::newRow("DEL in a text") << 8 << "x\x7F" << RecordError::ControlCharacter << FieldRule::None;
        QTest::newRow("o with double acute in a telephone number") << 28 << "36\u015120" << RecordError::NotLatin1 << FieldRule::None;
        QTest::newRow("letter in the PIN") << 1 << "12a4" << RecordError::FieldRule << FieldRule::Digits;
        QTest::newRow("e acute in a telephone number") << 29 << "36\u00E920" << RecordError::FieldRule << FieldRule::TelephoneDigits;
        QTest::newRow("restore flag 2") << 4 << "2" << RecordError::FieldRule << FieldRule::RestoreFlag;
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(RecordError, error);
        QFETCH(FieldRule, rule);
        FormValues form = downloadableForm();
        form.texts[field] = text;
        LinkSettings settings;
        const RecordResult result = buildContentRecord(form, settings, RecordPurpose::Download);
        QCOMPARE(result.error, error);
        QCOMPARE(result.field, field);
        QCOMPARE(result.rule, rule);
        QVERIFY(settings.RecordText.isEmpty());
        const bool control = error == RecordError::ControlCharacter;
        QCOMPARE(buildContentRecord(form, settings, RecordPurpose::Verify).error,
                 control ? RecordError::AccentedCharacter : RecordError::None);

        // A fixed checksum character below the blank is refused as well.
        settings = {};
        settings.CheckValue = 1;
        settings.CheckSize = '\t';
        const RecordResult suffix = buildContentRecord(downloadableForm(), settings, RecordPurpose::Download);
        QCOMPARE(suffix.error, RecordError::ControlCharacter);
        QCOMPARE(suffix.field, -1);
    }

    void badGroupIsSkipped()
    {
        LinkSettings settings;
        FormValues form = downloadableForm();
        form.groups[0] = "x.2";
        form.checked[0] = true;  // tc1_1 would make the first digit 2
        QTest::ignoreMessage(QtDebugMsg, "toInt error.");
        buildContentRecord(form, settings, RecordPurpose::Download);
        QVERIFY(settings.RecordText.split('|')[FieldItemCount].startsWith("00"));
    }
};

QTEST_GUILESS_MAIN(TestContentRecord)
#include "tst_contentrecord.moc"
