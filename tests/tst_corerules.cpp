// The core's rules on plain values, with no port, process or window: the
// backup-first rule, which units a port may take, and a permission group.
#include "core/form/formvalues.h"
#include "core/journal/journal.h"
#include "core/journal/journalentry.h"
#include "core/journal/sharedjournal.h"
#include "core/phones/contactsfile.h"
#include "core/phones/phonebook.h"
#include "core/phones/phoneexport.h"
#include "core/phones/phoneimport.h"
#include "core/phones/phonenumber.h"
#include "core/provisioning/provingrate.h"
#include "core/provisioning/scannedcode.h"
#include "core/provisioning/steps.h"
#include "core/provisioning/unitchoice.h"
#include "core/provisioning/unitclaim.h"
#include "sampleform.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

Q_DECLARE_METATYPE(Ending)
Q_DECLARE_METATYPE(StepOutcome::Record)
Q_DECLARE_METATYPE(ImportReason)

class TestCoreRules : public QObject
{
    Q_OBJECT

private slots:
    // The pace over the last half hour of proofs, by the proofs' own times,
    // and the manifest's end at that pace; a proof older than the window
    // counts no more.
    void provingRate()
    {
        constexpr qint64 Minute = 60 * 1000;
        const qint64 now = 1'000'000 * Minute;
        ProvingRate rate;
        QCOMPARE(rate.perHour(now), 0.0);
        QVERIFY(!rate.finishMs(5, now));
        for (qint64 ago : {40, 29, 20, 10, 1})
            rate.addProof(now - ago * Minute);
        QCOMPARE(rate.perHour(now), 8.0);                  // four in the window: eight an hour
        QCOMPARE(*rate.finishMs(4, now), now + 30 * Minute);  // four left at eight an hour
        QCOMPARE(rate.perHour(now + 25 * Minute), 2.0);      // only the newest still in it
        QCOMPARE(*rate.finishMs(0, now), now);
    }

    // What a scanner types: a unit's name, a label's QR text, or neither;
    // as typed, or as a US-layout scanner's keys come out on a Hungarian
    // layout, where its unit names and labels still read as they should.
    void scannedCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("unit");
        QTest::addColumn<qint64>("entry");
        using K = ScannedCode::Kind;
        QTest::newRow("unit") << "gate-0041" << int(K::Unit) << 0 << 0LL;
        QTest::newRow("unit, caps lock") << "YARD-7" << int(K::Unit) << 1 << 0LL;
        QTest::newRow("unit, hungarian layout") << "gateüöö41" << int(K::Unit) << 0 << 0LL;
        QTest::newRow("z and y swapped") << "zardü7" << int(K::Unit) << 1 << 0LL;
        QTest::newRow("label") << "T340;E=1204;U=gate-0041;H=0123456789ABCDEF" << int(K::Label) << -1 << 1204LL;
        QTest::newRow("label, hungarian layout") << "T34öéEó12ö4éUógateüöö41éHóö123456789abcdef" << int(K::Label) << -1 << 1204LL;
        QTest::newRow("label of entry 0") << "T340;E=0;U=gate-0041;H=01" << int(K::Unknown) << -1 << 0LL;
        QTest::newRow("stranger") << "5998765432101" << int(K::Unknown) << -1 << 0LL;
        QTest::newRow("case alone is not enough twice") << "TWIN" << int(K::Unknown) << -1 << 0LL;
    }
    void scannedCodes()
    {
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(int, unit);
        QFETCH(qint64, entry);
        QList<ManifestUnit> units(4);
        units[0].unit = "gate-0041";
        units[1].unit = "yard-7";
        units[2].unit = "twin";
        units[3].unit = "Twin";
        const ScannedCode code = readScannedCode(typed, units);
        QCOMPARE(int(code.kind), kind);
        QCOMPARE(code.unit, unit);
        QCOMPARE(code.entry, entry);
        if (code.kind == ScannedCode::Kind::Label) {
            QCOMPARE(code.unitName, QString("gate-0041"));
            QCOMPARE(code.hash, QString("0123456789abcdef"));
        }
        UnitStatus status;
        for (auto [state, refusal] : {std::pair{UnitStatus::State::Done, ScanRefusal::Done}, {UnitStatus::State::Changed, ScanRefusal::Done},
                                      {UnitStatus::State::Claimed, ScanRefusal::Claimed}, {UnitStatus::State::Failed, ScanRefusal::None},
                                      {UnitStatus::State::Left, ScanRefusal::None}}) {
            status.state = state;
            QCOMPARE(judgeScannedUnit(status), refusal);
        }
    }

    void backupFirst_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<StepOutcome::Record>("record");
        QTest::addColumn<QString>("problem");  // "file", "unsavable" or none
        QTest::addColumn<bool>("plain");       // written without --write-unread
        QTest::addColumn<bool>("unread");      // written with it
        using R = StepOutcome::Record;
        QTest::newRow("kept") << Ending::Done << R::Done << "" << true << true;
        QTest::newRow("kept, its end not in the journal") << Ending::Done << R::NotCompleted << "" << false << false;
        QTest::newRow("journal refused the backup") << Ending::PortUnavailable << R::NotBegun << "" << false << false;
        QTest::newRow("no answer") << Ending::NoReady << R::Done << "" << false << true;
        QTest::newRow("bad answer") << Ending::BadAnswer << R::Done << "" << false << true;
        QTest::newRow("no port") << Ending::PortUnavailable << R::Done << "" << false << true;
        QTest::newRow("no answer, not recorded") << Ending::NoReady << R::NotCompleted << "" << false << false;
        QTest::newRow("file not written") << Ending::Done << R::Done << "file" << false << false;
        QTest::newRow("no file can hold it") << Ending::Done << R::Done << "unsavable" << false << true;
        QTest::newRow("interrupted") << Ending::Interrupted << R::Done << "" << false << false;
        QTest::newRow("cancelled") << Ending::Cancelled << R::Done << "" << false << false;
        QTest::newRow("refused") << Ending::Refused << R::Done << "" << false << false;
    }

    void backupFirst()
    {
        QFETCH(Ending, ending);
        QFETCH(StepOutcome::Record, record);
        QFETCH(QString, problem);
        StepOutcome kept;
        kept.stage = Stage::Backup;
        kept.report.ending = ending;
        kept.record = record;
        if (problem == "file")
            kept.fileError = FileError::system(ENOSPC);
        if (problem == "unsavable")
            kept.unsavable = ContentFile::SaveProblem{3, ContentFile::SaveProblem::Reason::NotLatin1};
        QTEST(backupLetsWrite(kept, false), "plain");
        QTEST(backupLetsWrite(kept, true), "unread");
    }

    // Units naming a port go to it alone, in manifest order, before those
    // naming none; one unit asked for by name goes to the first port.
    void unitsForPorts()
    {
        const QList<ManifestUnit> units = {{2, "a", "", {}, {}}, {3, "b", "/dev/ttyUSB1", {}, {}},
                                           {4, "c", "", {}, {}}, {5, "d", "ttyUSB0", {}, {}}};
        const QStringList ports = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
        QCOMPARE(chooseUnits(units, ports, false), (QList<QList<int>>{{3, 0, 2}, {1, 0, 2}}));
        QCOMPARE(chooseUnits(units, ports, true), (QList<QList<int>>{{0, 2, 3}, {1}}));
    }

    // A unit proven with this content is left out; one proven with other
    // content only when the run does not take changed units too.
    void doneUnitsLeftOut()
    {
        QList<ManifestUnit> units = {{2, "a", "", {}, "A"}, {3, "b", "", {}, "B"}, {4, "c", "", {}, "C"}};
        const QHash<QString, Journal::Proven> proven = {{"a", {"A", 7, 0, {}}}, {"b", {"old", 8, 0, {}}}};
        for (const bool changedToo : {false, true}) {
            QList<QList<int>> candidates = {{0, 1, 2}, {2, 1}};
            const DoneUnits found = leaveOutDone(candidates, units, proven, changedToo);
            QCOMPARE(found.done.value(0), 7);
            QCOMPARE(found.changed.value(1), 8);
            QCOMPARE(candidates, changedToo ? (QList<QList<int>>{{1, 2}, {2, 1}}) : (QList<QList<int>>{{2}, {2}}));
        }
    }

    // A manifest's backup column: "no" marks a new module that needs no
    // backup though the run keeps them; any other word is refused.
    void manifestSaysWhichModulesAreNew()
    {
        QByteArray csv = "unit,backup,m_nev\nold,,A\nnew,NO,B\nkept,yes,C\n";
        QBuffer in(&csv);
        in.open(QIODevice::ReadOnly);
        Batch batch;
        batch.templateForm = downloadableForm();
        const Manifest manifest = readManifest(in, batch.templateForm, batch.settings);
        QVERIFY(manifest.problems.isEmpty());
        batch.units = manifest.units;
        QTemporaryDir dir;
        batch.backupFolder = dir.path();
        for (int u = 0; u < 3; ++u)
            QCOMPARE(prepareUnit(batch, u, nullptr).job.backup == nullptr, u == 1);
        QByteArray bad = "unit,backup\nx,nein\n";
        QBuffer badIn(&bad);
        badIn.open(QIODevice::ReadOnly);
        const Manifest refused = readManifest(badIn, batch.templateForm, batch.settings);
        QCOMPARE(refused.problems.size(), 1);
        QCOMPARE(refused.problems[0].reason, ManifestProblem::Reason::BackupValue);
        QCOMPARE(refused.problems[0].column, QString("backup"));
    }

    // A group is read once: a download needs both pieces and a bit of
    // 1..30; a module's answer needs the group only.
    void permissionGroups_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("groupNumber");  // -1: none
        QTest::addColumn<int>("bit");          // -1: none
        QTest::addColumn<bool>("downloadable");
        QTest::newRow("plain") << "3.2" << 3 << 2 << true;
        QTest::newRow("first and last of three") << "3.9.1" << 3 << 1 << true;
        QTest::newRow("bit too high") << "3.31" << 3 << 31 << false;
        QTest::newRow("bit zero") << "3.0" << 3 << 0 << false;
        QTest::newRow("no bit") << "3.x" << 3 << -1 << false;
        QTest::newRow("no group") << "x.1" << -1 << 1 << false;
        QTest::newRow("no dot") << "5" << 5 << 5 << true;
    }

    void permissionGroups()
    {
        QFETCH(QString, group);
        QFETCH(int, groupNumber);
        QFETCH(int, bit);
        const PermissionPieces pieces = permissionPieces(group);
        QCOMPARE(pieces.group.value_or(-1), groupNumber);
        QCOMPARE(pieces.bit.value_or(-1), bit);
        QTEST(permissionBit(group).has_value(), "downloadable");
    }

    // A search for a module's name ignores case, and the accents the
    // technician types: the names a download writes hold none.
    void nameSearchIgnoresAccents()
    {
        QTemporaryDir dir;
        Journal journal(parseJournalDestination(dir.filePath("j.sqlite")));
        for (const char *name : {"KOVACS KAPU", "Kovacs sorompo", "SZABO"}) {
            JournalEntry entry = startEntry(JournalName::Readup, "ttyUSB0");
            entry.moduleName = QString::fromUtf8(name);
            QVERIFY(journal.begin(entry) > 0);
        }
        for (const char *search : {"kovacs", "Kovács", "KOVÁCS"}) {
            Journal::Filter filter;
            filter.name = QString::fromUtf8(search);
            QCOMPARE(journal.find(filter).size(), 2);
            filter.name.clear();
            filter.idOrName = QString::fromUtf8(search);
            QCOMPARE(journal.find(filter).size(), 2);
        }
    }

    // Numbers as contacts write them, read as Hungarian ones unless they
    // carry a country, against a form that already holds one.
    void numbersAsWritten_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<ImportReason>("reason");
        using R = ImportReason;
        QTest::newRow("+36 and blanks") << "+36 30 123 4567" << "36301234567" << R::None;
        QTest::newRow("06 with dash and slash") << "06-20/555-1234" << "36205551234" << R::None;
        QTest::newRow("0036") << "0036 70 987 6543" << "36709876543" << R::None;
        QTest::newRow("the module's own form") << "36301112222" << "36301112222" << R::None;
        QTest::newRow("foreign mobile") << "+44 7911 123456" << "447911123456" << R::None;
        QTest::newRow("Budapest landline") << "06 1 234 5678" << "3612345678" << R::Landline;
        QTest::newRow("already in the form") << "+36 30 999 8888" << "36309998888" << R::AlreadyInForm;
        QTest::newRow("too long for the field") << "+49 30 12345678901" << "" << R::TooLong;
        QTest::newRow("garbage") << "kapu" << "" << R::NotANumber;
        QTest::newRow("too short") << "+36 30 12" << "" << R::NotANumber;
        QTest::newRow("typed as 06, in the form as 36") << "06 30 999 8888" << "36309998888" << R::AlreadyInForm;
        QTest::newRow("a cell of thousands of digits") << QString(30000, '5') << "" << R::TooLong;
    }
    void numbersAsWritten()
    {
        QFETCH(QString, written);
        QFETCH(QString, stored);
        QFETCH(ImportReason, reason);
        FormValues form = initialFormValues();
        form.texts[FieldItemCount + 4] = "36309998888";
        const QList<ImportEntry> entries = classifyContacts({{"Név", written, {}, 1, 0, std::nullopt}}, form, "HU");
        QCOMPARE(entries.value(0).stored, stored);
        QCOMPARE(entries.value(0).reason, reason);
    }

    // Contacts files shaped exactly as the programs that make them write
    // them (tests/contacts): every number, with its contact's name and its
    // kind, read in the encoding the file was written in.
    void contactsAsTheWorldWritesThem_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QStringList>("found");  // name|number|kind, in order
        QTest::newRow("Google, current") << "google-current.csv" << "UTF-8"
            << QStringList{"Ödön Kovács|+36 30 123 4567|Mobile", "Ödön Kovács|06 1 234 5678|Work", "Éva Mária Szabó|06-20/987-6543|Mobile"};
        QTest::newRow("Google, older") << "google-old.csv" << "UTF-8"
            << QStringList{"Kovács Ödön|+36 30 123 4567|Mobile", "Kovács Ödön|+36 20 111 2222|Mobile", "Kovács Ödön|06 1 234 5678|Home",
                           "Nagy Anna|+36 70 333 4444|Mobile"};
        QTest::newRow("Outlook") << "outlook.csv" << "UTF-8"
            << QStringList{"Péter Tóth|+36 30 555 6666|Mobile Phone", "Péter Tóth|+36 1 222 3333|Business Phone",
                           "Zsófia Kiss|06 70 444 5555|Mobile Phone"};
        QTest::newRow("Excel, Hungarian CSV") << "excel-hu-1250.csv" << "windows-1250"
            << QStringList{"Kovács Ödön|06 30 123 4567|Telefonszám", "Szőke Győző|+36 20 111 2222|Telefonszám",
                           "Árvai Éva|0036 70 333 4444|Telefonszám"};
        QTest::newRow("Excel, Unicode text") << "excel-unicode.txt" << "UTF-16LE"
            << QStringList{"Kovács Ödön|06 30 123 4567|Telefonszám", "Árvai Éva|+36 70 333 4444|Telefonszám"};
        QTest::newRow("Excel, sep= line") << "excel-sep.csv" << "UTF-8" << QStringList{"Kert kapu|06 30 777 8888|Mobil"};
        QTest::newRow("Android, vCard 2.1") << "android-21.vcf" << "UTF-8"
            << QStringList{"Kovács Ödön|+36301234567|CELL", "Kovács Ödön|0612345678|HOME", "Szőke Győző|06-20-111-2222|CELL"};
        QTest::newRow("Android, vCard 3.0") << "android-30.vcf" << "UTF-8"
            << QStringList{"Nagy Anna|+36 70 333 4444|CELL", "Nagy Anna|+36 1 999 8888|WORK"};
        const QChar space(0xa0);
        QTest::newRow("iPhone") << "iphone.vcf" << "UTF-8"
            << QStringList{"Tóth Péter|" + QString(QChar(0x202a)) + "+36" + space + "30" + space + "555" + space + "6666" + QChar(0x202c) + "|CELL,VOICE"};
    }
    void contactsAsTheWorldWritesThem()
    {
        QFETCH(QString, file);
        QFETCH(QString, encoding);
        QFETCH(QStringList, found);
        QFile contacts(QStringLiteral(TAVIR340_CONTACTS "/") + file);
        QVERIFY(contacts.open(QIODevice::ReadOnly));
        const ContactsRead read = readContacts(contacts.readAll());
        QCOMPARE(read.problem, ContactsRead::Problem::None);
        QCOMPARE(read.text.encoding, encoding);
        QStringList got;
        for (const Contact &c : read.contacts)
            got << c.name + '|' + c.written + '|' + c.type;
        QCOMPARE(got, found);
        // And every one of them a Hungarian number, stored.
        for (const ImportEntry &entry : classifyContacts(read.contacts, initialFormValues(), "HU"))
            QVERIFY2(entry.stored.startsWith("36"), qPrintable(entry.contact.written));
    }

    // Headings are words, never parts of words; a table that names no
    // number is said to; a quote never closed is found; numbers in the form
    // are compared as stored.
    void headingsAndProblems()
    {
        const ContactsRead phonetic = readContacts("Phonetic First Name,Name\nx,Anna\n");
        QCOMPARE(phonetic.problem, ContactsRead::Problem::NoNumberColumn);
        QCOMPARE(readContacts("Name,Phone\n\"Anna,+36 30 1\n").problem, ContactsRead::Problem::UnterminatedQuote);
        FormValues form = initialFormValues();
        form.texts[lineEditIndex("smskp")] = "447911123456";  // a British SMS centre: British numbers
        QCOMPARE(formRegion(form), QString("GB"));
        QCOMPARE(formRegion(initialFormValues()), QString("HU"));
    }

    // Clean numbers go into the free rows with the chosen boxes; more than
    // fit change nothing; an export reads back as the same numbers.
    void importPlacesAndExportReadsBack()
    {
        FormValues form = initialFormValues();
        form.texts[FieldItemCount] = "36301111111";
        QVERIFY(!placeNumbers(form, QStringList(16, "36302222222"), {}));
        QCOMPARE(freeTelephoneRows(form).size(), 15);
        const auto rows = placeNumbers(form, {"36302222222", "447911123456"}, {true, false, false, true});
        QCOMPARE(rows, (QList<int>{2, 3}));
        QCOMPARE(form.texts[FieldItemCount + 2], QString("447911123456"));
        QVERIFY(form.checked[permissionBoxIndex(AlarmInput1Column, 3)] && form.checked[permissionBoxIndex(ControlOutput4Column, 3)]);
        QVERIFY(!form.checked[permissionBoxIndex(AlarmInput2Column, 3)] && !form.checked[permissionBoxIndex(ControlOutput3Column, 3)]);
        PhoneBook book;
        book.byNumber.insert("36302222222", {"Kapu; hátsó", "Mobil"});
        book.simNumber = "36201234567";
        const auto name = [](int row) { return QStringLiteral("Sz\u00e1m, %1").arg(row); };
        for (const QByteArray &file : {phoneBookBytes(book, form), numbersVCard(form, book, name)}) {
            const QList<ImportEntry> back = classifyContacts(readContacts(file).contacts, initialFormValues(), "US");
            QStringList numbers;
            for (const ImportEntry &e : back)
                numbers << e.contact.name + '=' + e.stored + '@' + QString::number(e.contact.row);
            const bool table = !file.contains("VCARD");
            QCOMPARE(numbers, (QStringList{(table ? "" : "Sz\u00e1m, 1") + QString("=36301111111@") + (table ? "1" : "0"),
                                           QString("Kapu; hátsó=36302222222@") + (table ? "2" : "0"),
                                           (table ? "" : "Sz\u00e1m, 3") + QString("=447911123456@") + (table ? "3" : "0")}
                                  + (table ? QStringList{"=36201234567@-1"} : QStringList{})));
        }
        // The phone book reads back as itself, the permissions too.
        const PhoneBook again = readPhoneBook(phoneBookBytes(book, form));
        QCOMPARE(again.nameOf("36302222222"), QString("Kapu; hátsó"));
        QCOMPARE(again.simNumber, QString("36201234567"));
        QCOMPARE(readContacts(phoneBookBytes(book, form)).contacts.value(2).permissions->controlOutput4, true);
    }

    // The journal writer takes what ports hand it together in one
    // transaction; one request that fails must not take the others along:
    // each is then written on its own. Nine ports at once, twenty times.
    void journalWriterKeepsEachPortsOwn()
    {
        QTemporaryDir dir;
        SharedJournal journal(parseJournalDestination(dir.filePath("j.sqlite")));
        QVERIFY(journal.isOpen());
        for (int round = 0; round < 20; ++round) {
            std::vector<qint64> begun(8);
            bool bogusKept = true;
            {
                std::vector<std::jthread> ports;
                for (size_t p = 0; p < begun.size(); ++p)
                    ports.emplace_back([&, p] { begun[p] = journal.begin(startEntry(JournalName::Download, "ttyUSB" + QString::number(p))); });
                ports.emplace_back([&] {
                    JournalEntry nowhere = startEntry(JournalName::Download, "ttyUSB9");
                    nowhere.id = 1'000'000;  // no such entry
                    bogusKept = journal.complete(nowhere);
                });
            }
            QVERIFY(!bogusKept);
            for (const qint64 id : begun)
                QVERIFY2(id > 0, qPrintable(QString("round %1").arg(round)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCoreRules)
#include "tst_corerules.moc"
