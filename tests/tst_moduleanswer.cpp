#include "core/record/moduleanswer.h"
#include "core/plan/transferplan.h"
#include "sampleform.h"

#include <QTest>

// The module's answer, from received bytes to form values.
class TestModuleAnswer : public QObject
{
    Q_OBJECT

private:
    // 44 fields as the module sends them: each 16 bytes, CR-ended, then a
    // final byte.
    static QList<QByteArray> fields()
    {
        QList<QByteArray> f;
        for (int i = 0; i < 28; ++i)
            f << QByteArray("F") + QByteArray::number(i);
        for (int n = 1; n <= 16; ++n)
            f << "00" + QByteArray::number(3620000000LL + n);
        return f;
    }
    static QByteArray answer(const QList<QByteArray> &f, char fill = ' ', const QByteArray &preamble = {})
    {
        QByteArray out = preamble;
        for (const QByteArray &field : f)
            out += field.leftJustified(16, fill) + '\r';
        return out + '\x03';
    }
    static int box(const QString &name)
    {
        for (int k = 0; k < 64; ++k)
            if (checkBoxCatalogue()[k].name == name)
                return k;
        return -1;
    }

private slots:
    void answerTextFraming_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << QByteArray() << QString();
        QTest::newRow("one byte") << QByteArray("x") << QString();
        QTest::newRow("CR becomes bar, last byte dropped") << QByteArray("ab\rc\rZ") << "ab|c|";
        QTest::newRow("preamble cut at the last double end") << QByteArray("xy\r\rab\r\r\rcd\rZ") << "cd|";
        QTest::newRow("double end at the end stays") << QByteArray("ab\r\rZ") << "ab||";
        QTest::newRow("bars count as field ends") << QByteArray("x||ab\rZ") << "ab|";
        QTest::newRow("0xFF becomes space") << QByteArray("a\xFF\xFF\rZ") << "a  |";
        QTest::newRow("0x00 becomes space") << QByteArray("a\0\0\rZ", 5) << "a  |";
        QTest::newRow("Latin-1 kept") << QByteArray("\xE9\xA4\rZ") << QString::fromLatin1("\xE9\xA4|");
    }
    void answerTextFraming()
    {
        QFETCH(QByteArray, received);
        QFETCH(QString, text);
        QCOMPARE(answerText(received), text);
    }

    void fillsEveryField()
    {
        QList<QByteArray> f = fields();
        f[5] = "  lead";             // leading blanks stay
        f[6] = "";                   // all fill: empty text
        f[20] = "r20";               // hidden field
        f[28] = "31" + QByteArray("3620111");
        f[29] = "74" + QByteArray("1");
        f[30] = "x2";
        f[31] = "0";                 // one character: no second digit
        f[32] = "";                  // empty telephone part: digits 0 and 0
        FormValues current = initialFormValues();
        current.checked[box("tc3_1")] = true;  // cleared by digit 1
        current.checked[box("tc1_5")] = true;  // cleared by an empty part

        for (char fill : {' ', '\xFF'}) {
            const ReadupResult r = readModuleAnswer(answer(f, fill), current);
            QCOMPARE(r.error, AnswerError::None);
            QCOMPARE(r.values.texts[0], QString("F0"));
            QCOMPARE(r.values.texts[5], QString("  lead"));
            QCOMPARE(r.values.texts[6], QString());
            QCOMPARE(r.values.texts[20], QString("r20"));
            QCOMPARE(r.values.texts[28], QString("3620111"));
            QCOMPARE(r.values.texts[29], QString("1"));
            QCOMPARE(r.values.texts[31], QString());
            QCOMPARE(r.values.texts[32], QString());
            QCOMPARE(r.values.texts[43], QString("3620000016"));
            // Row 1: digits 3 and 1.
            QVERIFY(r.values.checked[box("tc1_1")]);
            QVERIFY(r.values.checked[box("tc2_1")]);
            QVERIFY(!r.values.checked[box("tc3_1")]);
            QVERIFY(r.values.checked[box("tc4_1")]);
            // Row 2: 7 sets both, 4 clears both.
            QVERIFY(r.values.checked[box("tc1_2")] && r.values.checked[box("tc2_2")]);
            QVERIFY(!r.values.checked[box("tc3_2")] && !r.values.checked[box("tc4_2")]);
            // Row 3: a letter counts 0; 2 is bit 2 of the control digit.
            QVERIFY(!r.values.checked[box("tc1_3")] && !r.values.checked[box("tc2_3")]);
            QVERIFY(r.values.checked[box("tc3_3")] && !r.values.checked[box("tc4_3")]);
            QVERIFY(!r.values.checked[box("tc1_5")]);
            QCOMPARE(r.values.groups, current.groups);
        }
    }

    void textsAreCutToTheField()
    {
        QList<QByteArray> f = fields();
        f[1] = "123456";
        const ReadupResult r = readModuleAnswer(answer(f), initialFormValues());
        QCOMPARE(r.values.texts[1], QString("1234"));
    }

    void preambleAndTrailingByte()
    {
        const QByteArray plain = answer(fields());
        const ReadupResult a = readModuleAnswer(plain, initialFormValues());
        const ReadupResult b = readModuleAnswer("boot 1.0\r\r" + plain, initialFormValues());
        QByteArray noFinal = plain;
        noFinal.chop(1);  // ends with the last CR, which is then dropped
        const ReadupResult c = readModuleAnswer(noFinal, initialFormValues());
        QCOMPARE(a.error, AnswerError::None);
        QCOMPARE(b.values, a.values);
        QCOMPARE(c.values, a.values);
    }

    void failures()
    {
        QList<QByteArray> f = fields();
        QCOMPARE(readModuleAnswer("", initialFormValues()).error, AnswerError::NoSeparator);
        QCOMPARE(readModuleAnswer("garbage", initialFormValues()).error, AnswerError::NoSeparator);

        const ReadupResult less = readModuleAnswer(answer(f.mid(0, 43)), initialFormValues());
        QCOMPARE(less.error, AnswerError::WrongFieldCount);
        QCOMPARE(less.fieldCount, 43);
        const ReadupResult more = readModuleAnswer(answer(f + QList<QByteArray>{"x"}), initialFormValues());
        QCOMPARE(more.error, AnswerError::WrongFieldCount);
        QCOMPARE(more.fieldCount, 45);

        FormValues badGroups = initialFormValues();
        badGroups.groups[7] = "x.1";
        QCOMPARE(readModuleAnswer(answer(f), badGroups).error, AnswerError::BadGroup);
    }

    // The plan's verify compares as the module stores values, whatever the
    // separator, and an answer that differs always names a field or says
    // what else is wrong.
    void verifyNamesWhatDiffers_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<int>("telephoneItem");  // the item of row 1 the module holds instead
        QTest::addColumn<int>("fieldCount");
        QTest::addColumn<QStringList>("named");
        QTest::addColumn<int>("error");
        QTest::newRow("equal, separator #") << '#' << -1 << 44 << QStringList() << int(AnswerError::None);
        QTest::newRow("digit 7 where 3 was sent") << '|' << 7 << 44 << QStringList{"t1"} << int(AnswerError::None);
        QTest::newRow("digit 1 where 3 was sent") << '|' << 1 << 44 << QStringList{"tc1_1"} << int(AnswerError::None);
        QTest::newRow("43 fields") << '|' << -1 << 43 << QStringList() << int(AnswerError::WrongFieldCount);
    }
    void verifyNamesWhatDiffers()
    {
        QFETCH(char, separator);
        QFETCH(int, telephoneItem);
        QFETCH(int, fieldCount);
        QFETCH(QStringList, named);
        QFETCH(int, error);
        FormValues form = downloadableForm();
        if (separator != '|')
            form.texts[lineEditIndex("m_nev")] = "A|B";  // text to the module, not a field end
        form.texts[28] = "3620";
        form.checked[0] = form.checked[1] = true;  // row 1's input alarm: digit 3
        LinkSettings settings;
        settings.DownloadSeparator = separator;
        const TransferPlan plan = planTransfer(form, settings, RecordPurpose::Verify).plan.value();
        QList<QByteArray> module;
        for (const QString &item : recordItems(form))
            module << (item.trimmed().isEmpty() ? QByteArray(" ") : item.toLatin1().trimmed());  // less fill than sent
        if (telephoneItem >= 0)
            module[28][0] = char('0' + telephoneItem);
        module = module.mid(0, fieldCount);
        const AnswerComparison comparison = plan.compare(module.join('\r') + "\rZ");
        QCOMPARE(int(comparison.error), error);
        QStringList found;
        for (const FieldDifference &d : comparison.differences)
            found << d.name;
        QCOMPARE(found, named);
    }

    void operatorForNumber()
    {
        QCOMPARE(operatorIndexForNumber("36309888000"), 0);
        QCOMPARE(operatorIndexForNumber("36209300099"), 1);
        QCOMPARE(operatorIndexForNumber("36709996500"), 2);
        QCOMPARE(operatorIndexForNumber(""), 3);
        QCOMPARE(operatorIndexForNumber("36201234567"), 3);
    }
};

QTEST_GUILESS_MAIN(TestModuleAnswer)
#include "tst_moduleanswer.moc"
