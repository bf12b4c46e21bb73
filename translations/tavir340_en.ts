<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="hu">
<context>
    <name>JournalLooks</name>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="55"/>
        <location filename="../gui/journal/journallooks.cpp" line="60"/>
        <location filename="../gui/journal/journallooks.cpp" line="72"/>
        <location filename="../gui/journal/journallooks.cpp" line="77"/>
        <source>Változások</source>
        <translation>Changes</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="55"/>
        <source>A napló nem olvasható, így nem tudni, mi változott.</source>
        <translation>The journal cannot be read, so what changed is not known.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="60"/>
        <source>A napló nem tud letöltést a(z) „%1” azonosítójú modulba.</source>
        <translation>The journal knows no download into a module with the identifier “%1”.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="65"/>
        <location filename="../gui/journal/journallooks.cpp" line="126"/>
        <source>File error.</source>
        <translation>File error.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="65"/>
        <location filename="../gui/journal/journallooks.cpp" line="126"/>
        <source>Cannot open the file. 
Tip: Check the file.</source>
        <translation>Cannot open the file. 
Tip: Check the file.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="69"/>
        <source>a #%1 betöltés óta (%2)</source>
        <translation>since download #%1 (%2)</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="72"/>
        <source>Nincs változás %1.</source>
        <translation>Nothing has changed %1.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journallooks.cpp" line="78"/>
        <source>%1 mező változott %2.</source>
        <translation>%1 field(s) changed %2.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../gui/mainwindow.cpp" line="239"/>
        <source>No file</source>
        <translation>No file</translation>
    </message>
    <message>
        <location filename="../gui/mainwindow.cpp" line="234"/>
        <source>(nincs)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <location filename="../gui/mainwindow.cpp" line="316"/>
        <source>Hiba</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../gui/mainwindow.cpp" line="317"/>
        <source>A szimulált modul nem indítható.
%1</source>
        <translation>The simulated module cannot start.
%1</translation>
    </message>
    <message>
        <location filename="../gui/mainwindow.cpp" line="367"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location filename="../gui/transfer/windowjobs.cpp" line="70"/>
        <location filename="../gui/form/mainwindowui.cpp" line="466"/>
        <source>Napló</source>
        <translation>Journal</translation>
    </message>
    <message>
        <location filename="../gui/mainwindow.cpp" line="483"/>
        <source>Input error</source>
        <translation>Input error</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="64"/>
        <source>Nemzetközi formátum</source>
        <translation>International format</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="65"/>
        <location filename="../gui/form/mainwindowui.cpp" line="66"/>
        <source>0000-9999</source>
        <translation>0000-9999</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="67"/>
        <source>1=igen, 0=nem</source>
        <translation>1=yes, 0=no</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="68"/>
        <source>0000-9999 (mp)</source>
        <translation>0000-9999 (s)</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="69"/>
        <location filename="../gui/form/mainwindowui.cpp" line="70"/>
        <location filename="../gui/form/mainwindowui.cpp" line="71"/>
        <location filename="../gui/form/mainwindowui.cpp" line="72"/>
        <location filename="../gui/form/mainwindowui.cpp" line="73"/>
        <location filename="../gui/form/mainwindowui.cpp" line="74"/>
        <location filename="../gui/form/mainwindowui.cpp" line="75"/>
        <location filename="../gui/form/mainwindowui.cpp" line="76"/>
        <location filename="../gui/form/mainwindowui.cpp" line="77"/>
        <location filename="../gui/form/mainwindowui.cpp" line="78"/>
        <location filename="../gui/form/mainwindowui.cpp" line="79"/>
        <source>Ékezetek nélkül</source>
        <translation>No accents</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="80"/>
        <source>Bemenet riasztás  2     1</source>
        <translation>Input
alarm
2     1</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="81"/>
        <source>Kimenet vezérlés  2     1</source>
        <translation>Output
control
2     1</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="82"/>
        <source>Telefonszám</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="445"/>
        <source>Tavir-340 letöltő szoftver</source>
        <translation>Tavir-340 download software</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="448"/>
        <source>New</source>
        <translation>New</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="449"/>
        <source>Megnyitás</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="450"/>
        <source>Mentés</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="451"/>
        <source>Save As</source>
        <translation>Save As</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="452"/>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="453"/>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="454"/>
        <source>Check</source>
        <translation>Check</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="455"/>
        <source>8bit sum</source>
        <translation>8bit sum</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="456"/>
        <source>16bit sum</source>
        <translation>16bit sum</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="457"/>
        <source>24bit sum</source>
        <translation>24bit sum</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="458"/>
        <source>32bit sum</source>
        <translation>32bit sum</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="459"/>
        <source>Fix</source>
        <translation>Fix</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="460"/>
        <source>ACK</source>
        <translation>ACK</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="461"/>
        <source>Separators</source>
        <translation>Separators</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="462"/>
        <source>Upload Command</source>
        <translation>Upload Command</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="463"/>
        <source>Kiolvasás az eszközből</source>
        <translation>Read from the device</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="464"/>
        <source>Betöltés az eszközbe</source>
        <translation>Download to the device</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="465"/>
        <source>Betöltés ellenőrzése</source>
        <translation>Verify the download</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="467"/>
        <source>Állomás</source>
        <translation>Station</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="468"/>
        <source>Változások a legutóbbi betöltés óta</source>
        <translation>Changes since the last download</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="469"/>
        <source>Nyomtatás...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="470"/>
        <source>Telefonszámok importálása...</source>
        <translation>Import telephone numbers...</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="471"/>
        <source>Telefonszámok exportálása...</source>
        <translation>Export telephone numbers...</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="472"/>
        <source>Telefonkönyv...</source>
        <translation>Phone book...</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="473"/>
        <source>Visszavonás</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="474"/>
        <source>Újra</source>
        <translation>Redo</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="475"/>
        <source>Névjegy</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="476"/>
        <source>Tartalom</source>
        <translation>Contents</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="498"/>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="499"/>
        <source>&amp;Beállítások</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="500"/>
        <source>&amp;CHKS</source>
        <translation>&amp;CHKS</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="501"/>
        <source>&amp;Eszköz</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="502"/>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="../gui/form/mainwindowui.cpp" line="503"/>
        <source>&amp;Legutóbbi fájlok</source>
        <translation>&amp;Recent files</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="12"/>
        <source>SMS központ:</source>
        <translation>SMS centre:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="13"/>
        <source>Modul PIN-kód:</source>
        <translation>Module PIN:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="14"/>
        <source>Modul azonosító:</source>
        <translation>Module identifier:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="15"/>
        <source>Modul neve:</source>
        <translation>Module name:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="16"/>
        <source>Visszaállás:</source>
        <translation>Restore:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="17"/>
        <source>1-es bemenet neve:</source>
        <translation>Name of input 1:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="18"/>
        <source>2-es bemenet neve:</source>
        <translation>Name of input 2:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="19"/>
        <source>Relé meghúzási idő:</source>
        <translation>Relay pull-in time:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="20"/>
        <source>3-as kimenet bekapcsoláskor:</source>
        <translation>Output 3 switched on:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="21"/>
        <source>4-es kimenet bekapcsoláskor:</source>
        <translation>Output 4 switched on:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="22"/>
        <source>3-as kimenet kikapcsoláskor:</source>
        <translation>Output 3 switched off:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="23"/>
        <source>4-es kimenet kikapcsoláskor:</source>
        <translation>Output 4 switched off:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="24"/>
        <source>1-es bemenet bekapcsoláskor:</source>
        <translation>Input 1 switched on:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="25"/>
        <source>2-es bemenet bekapcsoláskor:</source>
        <translation>Input 2 switched on:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="26"/>
        <source>1-es bemenet kikapcsoláskor:</source>
        <translation>Input 1 switched off:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="27"/>
        <source>2-es bemenet kikapcsoláskor:</source>
        <translation>Input 2 switched off:</translation>
    </message>
    <message>
        <location filename="../labels/fieldcaptions.cpp" line="31"/>
        <source>Egyéni</source>
        <translation>Custom</translation>
    </message>
    <message>
        <location filename="../gui/files/handoverprint.cpp" line="70"/>
        <source>Nyomtatás</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>PhoneImportDialog</name>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="54"/>
        <source>Telefonszámok importálása</source>
        <translation>Import telephone numbers</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="145"/>
        <source>Név oszlopa:</source>
        <translation>Name column:</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="146"/>
        <source>Szám oszlopa:</source>
        <translation>Number column:</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="62"/>
        <source>Név</source>
        <translation>Name</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="62"/>
        <source>Ahogy írva</source>
        <translation>As written</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="62"/>
        <source>Ahogy tárolva</source>
        <translation>As stored</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="62"/>
        <source>Eredmény</source>
        <translation>Result</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="62"/>
        <source>Típus</source>
        <translation>Kind</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="63"/>
        <source>Be 1</source>
        <translation>In 1</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="63"/>
        <source>Be 2</source>
        <translation>In 2</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="63"/>
        <source>Ki 3</source>
        <translation>Out 3</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="63"/>
        <source>Ki 4</source>
        <translation>Out 4</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="67"/>
        <source>Importálás</source>
        <translation>Import</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="86"/>
        <source>%1 (a fájl bájtjaiból)</source>
        <translation>%1 (found from its bytes)</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="96"/>
        <source>Kódolás:</source>
        <translation>Encoding:</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="103"/>
        <source>Ország a szám nélküli hívószámokhoz (az űrlap SMS-központja szerint):</source>
        <translation>Country of numbers without one (the form&apos;s SMS centre&apos;s):</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="105"/>
        <source>név vagy szám</source>
        <translation>name or number</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="108"/>
        <source>&amp;Mind</source>
        <translation>&amp;All</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="110"/>
        <source>&amp;Egyik sem</source>
        <translation>&amp;None</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="118"/>
        <source>Keresés:</source>
        <translation>Search:</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="128"/>
        <source>Az első sor fejléc</source>
        <translation>The first row is headings</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="131"/>
        <location filename="../gui/files/phoneimportdialog.cpp" line="133"/>
        <source>(nincs)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="131"/>
        <location filename="../gui/files/phoneimportdialog.cpp" line="134"/>
        <source>(a megtalált, %1 oszlop)</source>
        <translation>(as found, %1 columns)</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="137"/>
        <source>%1. oszlop: %2</source>
        <translation>Column %1: %2</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="161"/>
        <source>Mind:</source>
        <translation>All:</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="38"/>
        <source>1-es bemenet riaszt</source>
        <translation>Input 1 alarms</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="38"/>
        <source>2-es bemenet riaszt</source>
        <translation>Input 2 alarms</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="39"/>
        <source>3-as kimenetet vezérli</source>
        <translation>Controls output 3</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="39"/>
        <source>4-es kimenetet vezérli</source>
        <translation>Controls output 4</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="253"/>
        <source>A(z) %1. sorban kezdődő idézőjel nincs lezárva; a táblázat nem olvasható.</source>
        <translation>The quote that begins in row %1 is never closed; the table cannot be read.</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="254"/>
        <source>%1 importálható, %2 figyelmeztetés, %3 hiba. Kiválasztva: %4, szabad sor: %5.</source>
        <translation>%1 to import, %2 warnings, %3 errors. Chosen: %4, free rows: %5.</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="257"/>
        <source>Több szám van kiválasztva, mint ahány szabad sor van: válassza ki, melyek kerüljenek be.</source>
        <translation>More numbers are chosen than there are free rows: choose the ones to import.</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="259"/>
        <source>%1 kiválasztott szám semmit sem tesz: nincs bejelölve sem riasztás, sem vezérlés.</source>
        <translation>%1 chosen numbers can do nothing: neither an alarm nor a control is ticked.</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="267"/>
        <source>importálható</source>
        <translation>will be imported</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="268"/>
        <source>figyelmeztetés: már szerepelt a fájlban</source>
        <translation>warning: already earlier in the file</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="269"/>
        <source>figyelmeztetés: már az űrlapon van</source>
        <translation>warning: already in the form</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="270"/>
        <source>figyelmeztetés: vezetékes szám, nem mobil</source>
        <translation>warning: a landline, not a mobile</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="271"/>
        <source>hiba: nem telefonszám</source>
        <translation>error: not a telephone number</translation>
    </message>
    <message>
        <location filename="../gui/files/phoneimportdialog.cpp" line="272"/>
        <source>hiba: hosszabb a mező 14 jegyénél</source>
        <translation>error: longer than the field&apos;s 14 digits</translation>
    </message>
</context>
<context>
    <name>PortTile</name>
    <message>
        <location filename="../gui/station/porttile.cpp" line="62"/>
        <source>A napló nem válaszol; a port vár rá.</source>
        <translation>The journal is not answering; the port waits for it.</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="78"/>
        <location filename="../gui/station/porttile.cpp" line="117"/>
        <location filename="../gui/station/porttile.cpp" line="129"/>
        <source>Szóköz</source>
        <translation>Space</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="79"/>
        <source>Helyezze be a következő modult, majd nyomja meg: %1</source>
        <translation>Plug in the next module, then press: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="106"/>
        <source>Nincs több egység ehhez a porthoz.</source>
        <translation>No unit left for this port.</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="109"/>
        <source>✖ A napló nem fogadta a foglalást; semmi sem lett elküldve.</source>
        <translation>✖ The journal did not take the claim; nothing was sent.</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="119"/>
        <source>Következő modul: %1</source>
        <translation>Next module: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="119"/>
        <source>Nyugtázás: %1, majd a következő modul: %1</source>
        <translation>Acknowledge: %1, then the next module: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="130"/>
        <source>Nyugtázva. Következő modul: %1</source>
        <translation>Acknowledged. Next module: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/porttile.cpp" line="165"/>
        <source>%1 mp</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>Station</name>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="25"/>
        <source>Eltérő mezők: %1</source>
        <translation>Fields that differ: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="27"/>
        <source> és még %1</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="38"/>
        <source>Mentés</source>
        <translation>Backup</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="39"/>
        <source>Betöltés</source>
        <translation>Download</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="40"/>
        <source>Visszaolvasás</source>
        <translation>Reading back</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="41"/>
        <source>Ellenőrzés</source>
        <translation>Verify</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="51"/>
        <source>✔ Igazolva</source>
        <translation>✔ Proven</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="52"/>
        <source>! Beírva, de nem igazolt: a napló nem rögzítette</source>
        <translation>! Written, not proven: the journal did not record it</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="53"/>
        <source>✖ Hiba: %1</source>
        <translation>✖ Failed: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="54"/>
        <source>✖ Nem lett írva: %1</source>
        <translation>✖ Not written: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="55"/>
        <source>! A modul még a(z) %1 egységet tartalmazza: cserélje ki</source>
        <translation>! The module still holds unit %1: swap it</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="57"/>
        <source>! A foglalás elveszett: beírva, de nem igazolt</source>
        <translation>! Claim lost: written, not proven</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="58"/>
        <source>! A foglalás elveszett, a modul nem lett írva</source>
        <translation>! Claim lost, the module was not written</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="59"/>
        <source>! Megszakítva: a modul tartalma ismeretlen</source>
        <translation>! Interrupted: the module&apos;s content is unknown</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="67"/>
        <source>%1. sor</source>
        <translation>row %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="68"/>
        <source>%1. sor, %2 oszlop</source>
        <translation>row %1, column %2</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="71"/>
        <source>egy idézőjeles cella nincs lezárva</source>
        <translation>a quoted cell is never closed</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="72"/>
        <source>nincs unit oszlop</source>
        <translation>there is no unit column</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="73"/>
        <source>nincs ilyen mező</source>
        <translation>no such field</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="74"/>
        <source>az oszlop kétszer szerepel</source>
        <translation>the column is there twice</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="75"/>
        <source>az egységnek nincs neve</source>
        <translation>the unit has no name</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="76"/>
        <source>ugyanaz az egység, mint a(z) %1. sorban</source>
        <translation>the same unit as row %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="77"/>
        <source>az egység neve legfeljebb %1 karakter</source>
        <translation>a unit&apos;s name takes at most %1 characters</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="78"/>
        <source>az egység neve vezérlőkaraktert tartalmaz</source>
        <translation>the unit&apos;s name holds a control character</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="79"/>
        <source>az egység neve nem UTF-8</source>
        <translation>the unit&apos;s name holds bytes that are not UTF-8</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="80"/>
        <source>az egység neve nem kezdődhet - vagy . karakterrel</source>
        <translation>a unit&apos;s name may not start with - or .</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="81"/>
        <source>ugyanaz a fájlnév, mint a(z) %1. sor egységéé</source>
        <translation>the same file name as the unit of row %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="82"/>
        <source>több cella, mint ahány oszlop</source>
        <translation>more cells than the header has columns</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="83"/>
        <source>a backup cella értéke yes, no vagy üres</source>
        <translation>a backup cell takes yes, no or nothing</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="88"/>
        <source>a(z) %1 érték nem írható be</source>
        <translation>%1 cannot be set</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="100"/>
        <source>kész</source>
        <translation>done</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="101"/>
        <source>módosult a beírás óta</source>
        <translation>changed since provisioned</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="102"/>
        <source>foglalt</source>
        <translation>claimed</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="103"/>
        <source>hibás</source>
        <translation>failed</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="104"/>
        <source>beírva, nem igazolt</source>
        <translation>written, not proven</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="105"/>
        <source>nem cserélték ki</source>
        <translation>not swapped</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="106"/>
        <source>megszakítva</source>
        <translation>interrupted</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="107"/>
        <source>foglalás elveszett</source>
        <translation>claim lost</translation>
    </message>
    <message>
        <location filename="../gui/station/stationtexts.cpp" line="109"/>
        <source>hátra van</source>
        <translation>left</translation>
    </message>
</context>
<context>
    <name>StationLabels</name>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="84"/>
        <source>nincs</source>
        <translation>none</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="86"/>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="86"/>
        <source>PDF, %1</source>
        <translation>PDF, %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="155"/>
        <source>Címke: az ív %1. helye</source>
        <translation>Label: place %1 of the sheet</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="162"/>
        <source>Címke nyomtatva: %1</source>
        <translation>Label printed: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="163"/>
        <source>A címke nyomtatója nem indult el.</source>
        <translation>The label printer did not start.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="170"/>
        <source>Címke: %1 (már megvan)</source>
        <translation>Label: %1 (already there)</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="171"/>
        <source>Címke nem készült: %1</source>
        <translation>No label made: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="171"/>
        <source>Címke: %1</source>
        <translation>Label: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="180"/>
        <source>Állomás</source>
        <translation>Station</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="180"/>
        <source>A címkék ívének nyomtatója nem indult el; az ív címkéi megmaradnak.</source>
        <translation>The printer for the sheet of labels did not start; the sheet&apos;s labels are kept.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="191"/>
        <source>Í&amp;v nyomtatása (%1 címke, következő hely: %2)</source>
        <translation>Print the &amp;sheet (%1 labels, next place: %2)</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="200"/>
        <location filename="../gui/station/stationlabels.cpp" line="206"/>
        <source>Címke</source>
        <translation>Label</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="200"/>
        <source>Válasszon egy kész egységet a táblázatban.</source>
        <translation>Choose a unit that is done in the table.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationlabels.cpp" line="206"/>
        <source>A nyomtató nem indult el.</source>
        <translation>The printer did not start.</translation>
    </message>
</context>
<context>
    <name>StationOverview</name>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="127"/>
        <source>Kész: %1   Hátra: %2   Hibás: %3   Más állomás foglalja: %4   Módosult: %5   Nem igazolt: %6   Nem cserélt: %7   Megszakítva: %8   Foglalás elveszett: %9</source>
        <translation>Done: %1   Left: %2   Failed: %3   Claimed by another station: %4   Changed: %5   Not proven: %6   Not swapped: %7   Interrupted: %8   Claim lost: %9</translation>
    </message>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="137"/>
        <source>Ütem: %1 egység/óra (az utolsó 30 percben)</source>
        <translation>Pace: %1 units an hour (over the last 30 minutes)</translation>
    </message>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="139"/>
        <source>— a manifest várhatóan kész: %1</source>
        <translation>— the manifest done by about %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="143"/>
        <source>A napló nem válaszol (%1 mp); az állomás vár rá.</source>
        <translation>The journal is not answering (%1 s); the station waits for it.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="145"/>
        <source>A napló most nem olvasható; az állomás újra próbálja.</source>
        <translation>The journal cannot be read now; the station keeps trying.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="170"/>
        <source>%1: %2 kész, %3 hiba, %4/óra, utolsó: %5</source>
        <translation>%1: %2 done, %3 failed, %4/hour, last: %5</translation>
    </message>
    <message>
        <location filename="../gui/station/stationoverview.cpp" line="177"/>
        <source>Állomások: %1</source>
        <translation>Stations: %1</translation>
    </message>
</context>
<context>
    <name>StationScan</name>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="58"/>
        <source>Vonalkód: „%1” — nincs ilyen egység a manifestben, és nem is a program címkéje.</source>
        <translation>Barcode: “%1” — no such unit in the manifest, and not one of the program&apos;s labels.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="74"/>
        <source>Vonalkód: %1 már kész (igazolva); nem kerül újra modulba.</source>
        <translation>Barcode: %1 is done (proven); it does not go into a module again.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="78"/>
        <source>Vonalkód: %1 most készül (%2); nem választható.</source>
        <translation>Barcode: %1 is being provisioned (%2); it cannot be chosen.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="84"/>
        <source>Vonalkód: %1 kiválasztva — a következő megnyomott port gombja ezt az egységet veszi.</source>
        <translation>Barcode: %1 chosen — the next port whose key is pressed takes this unit.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="93"/>
        <source>Vonalkód: %1 nem ehhez a porthoz tartozik (%2); a manifest másik portot ír elő.</source>
        <translation>Barcode: %1 is not for this port (%2); the manifest names another port.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="108"/>
        <source>Vonalkód: a címke bejegyzése (%1) a naplóban...</source>
        <translation>Barcode: the label&apos;s entry (%1) in the journal...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="118"/>
        <source>Vonalkód: a címke %1. bejegyzése nincs a naplóban igazolt egységként.</source>
        <translation>Barcode: the label&apos;s entry %1 is not in the journal as a proven unit.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="122"/>
        <source>Vonalkód: a címke nem egyezik a napló %1. bejegyzésével (a naplóban: %2).</source>
        <translation>Barcode: the label does not match journal entry %1 (the journal has %2).</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="125"/>
        <source>Vonalkód: %1 címkéje — %2. bejegyzés.</source>
        <translation>Barcode: the label of %1 — entry %2.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="126"/>
        <source>Címke</source>
        <translation>Label</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="127"/>
        <source>%1
Igazolva: %2, %3 állomás
Modul: %4
Bejegyzés: %5, rekord: %6</source>
        <translation>%1
Proven: %2, station %3
Module: %4
Entry: %5, record: %6</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="134"/>
        <source>Címke ú&amp;jra</source>
        <translation>La&amp;bel again</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="138"/>
        <source>Vonalkód: nincs címke választva.</source>
        <translation>Barcode: no labels are chosen.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationscan.cpp" line="138"/>
        <source>Vonalkód: %1 — %2</source>
        <translation>Barcode: %1 — %2</translation>
    </message>
</context>
<context>
    <name>StationSetup</name>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="25"/>
        <source>nincs napló</source>
        <translation>no journal</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="27"/>
        <source>Napló:</source>
        <translation>Journal:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="31"/>
        <source>&amp;Manifest...</source>
        <translation>&amp;Manifest...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="33"/>
        <source>Manifest</source>
        <translation>Manifest</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="33"/>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="40"/>
        <source>Egységek:</source>
        <translation>Units:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="49"/>
        <source>Portok:</source>
        <translation>Ports:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="54"/>
        <source>/dev/serial/by-id/…, /tmp/ttyUSB0</source>
        <translation>/dev/serial/by-id/…, /tmp/ttyUSB0</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="55"/>
        <source>Port &amp;hozzáadása</source>
        <translation>&amp;Add port</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="65"/>
        <source>Mentések:</source>
        <translation>Backups:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="69"/>
        <source>Új modulok: mentés nélkül</source>
        <translation>New modules: no backup</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="75"/>
        <source>&amp;Indítás</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="89"/>
        <source>&amp;Sablon fájlból...</source>
        <translation>&amp;Template from a file...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="92"/>
        <source>Ű&amp;rlap</source>
        <translation>&amp;Form</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="103"/>
        <source>Sablon:</source>
        <translation>Template:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="108"/>
        <source>Sablon</source>
        <translation>Template</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="108"/>
        <source>T16 Files (*.t16)</source>
        <translation>T16 Files (*.t16)</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="113"/>
        <source>Állomás</source>
        <translation>Station</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="113"/>
        <source>A sablon nem olvasható: %1</source>
        <translation>The template cannot be read: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="127"/>
        <source>az űrlap: %1</source>
        <translation>the form: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="134"/>
        <source>Címke minden igazolt egységhez</source>
        <translation>A label for every proven unit</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="146"/>
        <source>Címkék (PDF):</source>
        <translation>Labels (PDF):</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="147"/>
        <location filename="../gui/station/stationsetup.cpp" line="252"/>
        <source>nincs: a címkék PDF-be kerülnek</source>
        <translation>none: labels go to PDF files</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="149"/>
        <source>Ny&amp;omtató...</source>
        <translation>Pri&amp;nter...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="155"/>
        <source>ív első szabad helye: </source>
        <translation>first free place on the sheet: </translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="161"/>
        <source>Címkenyomtató:</source>
        <translation>Label printer:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="167"/>
        <source>Hang</source>
        <translation>Sound</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="169"/>
        <source>Ablak jelzése</source>
        <translation>Flash the window</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="171"/>
        <source>Cserére várók a címsorban</source>
        <translation>Waiting ports in the title</translation>
    </message>
    <message>
        <location filename="../gui/station/stationsetup.cpp" line="182"/>
        <source>Hívás:</source>
        <translation>Call:</translation>
    </message>
</context>
<context>
    <name>StationWindow</name>
    <message>
        <location filename="../gui/station/stationunits.cpp" line="12"/>
        <location filename="../gui/station/batchrefusal.cpp" line="28"/>
        <location filename="../gui/station/batchrefusal.cpp" line="34"/>
        <location filename="../gui/station/batchrefusal.cpp" line="42"/>
        <location filename="../gui/station/batchrefusal.cpp" line="47"/>
        <location filename="../gui/station/batchrefusal.cpp" line="50"/>
        <location filename="../gui/station/stationwindow.cpp" line="48"/>
        <location filename="../gui/station/stationwindow.cpp" line="352"/>
        <source>Állomás</source>
        <translation>Station</translation>
    </message>
    <message>
        <location filename="../gui/station/stationunits.cpp" line="10"/>
        <source>Egység</source>
        <translation>Unit</translation>
    </message>
    <message>
        <location filename="../gui/station/stationunits.cpp" line="10"/>
        <source>Állapot</source>
        <translation>State</translation>
    </message>
    <message>
        <location filename="../gui/station/stationunits.cpp" line="11"/>
        <source>Bejegyzés</source>
        <translation>Entry</translation>
    </message>
    <message>
        <location filename="../gui/station/stationunits.cpp" line="11"/>
        <source>Idő</source>
        <translation>Time</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="123"/>
        <source>Címke &amp;nyomtatása...</source>
        <translation>&amp;Print label...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="128"/>
        <source>Ú&amp;j köteg...</source>
        <translation>&amp;New batch...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="138"/>
        <source>&amp;Műszak összesítő...</source>
        <translation>Shift &amp;report...</translation>
    </message>
    <message>
        <location filename="../gui/station/unitfilterbar.cpp" line="26"/>
        <source>Minden egység</source>
        <translation>Every unit</translation>
    </message>
    <message>
        <location filename="../gui/station/unitfilterbar.cpp" line="27"/>
        <source>Hibák</source>
        <translation>Failures</translation>
    </message>
    <message>
        <location filename="../gui/station/unitfilterbar.cpp" line="28"/>
        <source>Nem igazolt</source>
        <translation>Not proven</translation>
    </message>
    <message>
        <location filename="../gui/station/unitfilterbar.cpp" line="29"/>
        <source>Hátra van</source>
        <translation>Left to do</translation>
    </message>
    <message>
        <location filename="../gui/station/unitfilterbar.cpp" line="37"/>
        <source>egység neve</source>
        <translation>unit name</translation>
    </message>
    <message>
        <location filename="../gui/station/unitfilterbar.cpp" line="41"/>
        <source>Táblázat:</source>
        <translation>Table:</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="234"/>
        <source>Figyelés: minden állomás, semmi sem íródik   Egységek: %1   Napló: %2</source>
        <translation>Watching: every station, nothing is written   Units: %1   Journal: %2</translation>
    </message>
    <message>
        <location filename="../gui/station/batchrefusal.cpp" line="50"/>
        <source>A mentések mappája nem használható: %1 (%2)</source>
        <translation>The backup folder cannot be used: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="352"/>
        <source>Állomás – cserére vár: %1</source>
        <translation>Station – waiting for a swap: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="478"/>
        <source>Műszak összesítő</source>
        <translation>Shift report</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="479"/>
        <source>A napló nem olvasható; a műszak összesítője nem készült el.</source>
        <translation>The journal cannot be read; the shift report was not made.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="236"/>
        <source>Egységek: %1   Napló: %2   Címkék: %3   Mentések: %4</source>
        <translation>Units: %1   Journal: %2   Labels: %3   Backups: %4</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="238"/>
        <source>nincs (új modulok)</source>
        <translation>none (new modules)</translation>
    </message>
    <message>
        <location filename="../gui/station/batchrefusal.cpp" line="28"/>
        <source>Az állomás csak naplóval dolgozik: a napló tudja, mely egységek készek.</source>
        <translation>The station works only with a journal: the journal knows which units are done.</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="197"/>
        <source>A napló megnyitása...</source>
        <translation>Opening the journal...</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="342"/>
        <source>A napló megnyitása... A napló nem válaszol (%1 mp).</source>
        <translation>Opening the journal... The journal is not answering (%1 s).</translation>
    </message>
    <message>
        <location filename="../gui/station/batchrefusal.cpp" line="34"/>
        <source>A manifest nem olvasható: %1</source>
        <translation>The manifest cannot be read: %1</translation>
    </message>
    <message>
        <location filename="../gui/station/stationwindow.cpp" line="77"/>
        <source>az átadott űrlap</source>
        <translation>the form given</translation>
    </message>
    <message>
        <location filename="../gui/station/batchrefusal.cpp" line="42"/>
        <source>A manifest hibás (%1 hiba), egyetlen egység sem lett elküldve.</source>
        <translation>The manifest has problems (%1); no unit was sent.</translation>
    </message>
</context>
<context>
    <name>Transfers</name>
    <message>
        <location filename="../gui/transfer/answerprogress.cpp" line="41"/>
        <source>Megszakítás</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="53"/>
        <source>
Nem lehet megnyitni a portot.</source>
        <translation>
The port cannot be opened.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="57"/>
        <location filename="../gui/transfer/uploadcommands.cpp" line="124"/>
        <location filename="../gui/transfer/uploadcommands.cpp" line="138"/>
        <source>Hiba</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="64"/>
        <source>Kiolvasás</source>
        <translation>Read-up</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="64"/>
        <source>Kiolvasás...</source>
        <translation>Reading...</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="106"/>
        <source>Sikertelen kiolvasás.</source>
        <translation>The read-up failed.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="122"/>
        <source>
Ellenőrizze az eszközt, és próbálja meg újra!</source>
        <translation>
Check the device and try again!</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="69"/>
        <location filename="../gui/transfer/uploadcommands.cpp" line="134"/>
        <source>Ellenőrzés</source>
        <translation>Verify</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="69"/>
        <source>Ellenőrzés...</source>
        <translation>Verifying...</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="135"/>
        <source>Sikertelen ellenőrzés.</source>
        <translation>The verify failed.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="138"/>
        <source>Sikertelen ellenőrzés. (ascii error)</source>
        <translation>The verify failed. (ascii error)</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="147"/>
        <source>Sikeres ellenőrzés.
Szimulált modul: valódi eszköz nem lett ellenőrizve.</source>
        <translation>The verify succeeded.
Simulated module: no real device was checked.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="148"/>
        <source>Sikeres ellenőrzés.</source>
        <translation>The verify succeeded.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/uploadcommands.cpp" line="151"/>
        <source>
Töltse be újra a konfigurációt!</source>
        <translation>
Download the configuration again!</translation>
    </message>
</context>
<context>
    <name>WindowFiles</name>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="57"/>
        <source>Open File</source>
        <translation>Open File</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="78"/>
        <location filename="../gui/files/windowfiles.cpp" line="112"/>
        <location filename="../gui/files/windowfiles.cpp" line="122"/>
        <location filename="../gui/files/windowfiles.cpp" line="126"/>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="78"/>
        <source>Cannot open the selected file.</source>
        <translation>Cannot open the selected file.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="83"/>
        <source>File error.</source>
        <translation>File error.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="84"/>
        <source>Cannot open the file. 
Tip: Check the file.</source>
        <translation>Cannot open the file. 
Tip: Check the file.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="98"/>
        <source>File opened.</source>
        <translation>File opened.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="99"/>
        <source>%1 successfully loaded.</source>
        <translation>%1 successfully loaded.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="117"/>
        <source>Save File</source>
        <translation>Save File</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="122"/>
        <source>Cannot save the selected file.</source>
        <translation>Cannot save the selected file.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="133"/>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="133"/>
        <source>Save was successful.</source>
        <translation>Save was successful.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="139"/>
        <source>T16 Files (*.t16)</source>
        <translation>T16 Files (*.t16)</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="139"/>
        <source>All files (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="163"/>
        <source>Napló #%1</source>
        <translation>Journal #%1</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="170"/>
        <location filename="../gui/files/windowfiles.cpp" line="176"/>
        <source>No file</source>
        <translation>No file</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="177"/>
        <source>Tavir-340 letöltő szoftver</source>
        <translation>Tavir-340 download software</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="186"/>
        <source>Az űrlap változásai nincsenek sem fájlba mentve, sem modulba letöltve.</source>
        <translation>The form&apos;s changes are neither saved in a file nor downloaded to a module.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="188"/>
        <source>Amit letöltött, azt a napló megőrzi; ezeket a változásokat nem.</source>
        <translation>The journal keeps what was downloaded; it does not keep these changes.</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="189"/>
        <source>Mentetlen változások</source>
        <translation>Unsaved changes</translation>
    </message>
    <message>
        <location filename="../gui/files/windowfiles.cpp" line="189"/>
        <source>Menti őket?</source>
        <translation>Save them?</translation>
    </message>
</context>
<context>
    <name>WindowPhoneBook</name>
    <message>
        <location filename="../gui/files/windowphonebook.cpp" line="59"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location filename="../gui/files/windowphonebook.cpp" line="67"/>
        <source>Telefonkönyv</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <location filename="../gui/files/windowphonebook.cpp" line="70"/>
        <source>Szám</source>
        <translation>Number</translation>
    </message>
    <message>
        <location filename="../gui/files/windowphonebook.cpp" line="70"/>
        <source>Név</source>
        <translation>Name</translation>
    </message>
    <message>
        <location filename="../gui/files/windowphonebook.cpp" line="70"/>
        <source>Típus</source>
        <translation>Kind</translation>
    </message>
    <message>
        <location filename="../gui/files/windowphonebook.cpp" line="93"/>
        <source>A modul SIM-kártyájának száma:</source>
        <translation>The module&apos;s SIM number:</translation>
    </message>
</context>
<context>
    <name>WindowText</name>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="32"/>
        <source>Bemenet riasztás 2</source>
        <translation>Input alarm 2</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="33"/>
        <source>Bemenet riasztás 1</source>
        <translation>Input alarm 1</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="34"/>
        <source>Kimenet vezérlés 2</source>
        <translation>Output control 2</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="35"/>
        <source>Kimenet vezérlés 1</source>
        <translation>Output control 1</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="359"/>
        <source>Nem közönséges fájl.</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="361"/>
        <source>Nagyobb, mint %1 MiB.</source>
        <translation>Larger than %1 MiB.</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="31"/>
        <location filename="../gui/files/phonefiles.cpp" line="37"/>
        <source>Telefonszámok importálása</source>
        <translation>Import telephone numbers</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="32"/>
        <source>Névjegyek és táblázatok (*.vcf *.vcard *.csv *.txt);;Minden fájl (*)</source>
        <translation>Contacts and tables (*.vcf *.vcard *.csv *.txt);;All files (*)</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="37"/>
        <source>%1 nem olvasható: %2</source>
        <translation>%1 cannot be read: %2</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="56"/>
        <source>CSV táblázat (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="57"/>
        <location filename="../gui/files/phonefiles.cpp" line="64"/>
        <source>Telefonszámok exportálása</source>
        <translation>Export telephone numbers</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="58"/>
        <source>vCard névjegyek (*.vcf)</source>
        <translation>vCard contacts (*.vcf)</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="61"/>
        <location filename="../gui/texts/windowtexts.cpp" line="38"/>
        <source>Telefonszám %1</source>
        <translation>Telephone %1</translation>
    </message>
    <message>
        <location filename="../gui/files/phonefiles.cpp" line="64"/>
        <source>%1 nem írható: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="46"/>
        <source>Telefonszám %1, %2</source>
        <translation>Telephone %1, %2</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="63"/>
        <source>%1 (%2): űrlap %3, modul %4</source>
        <translation>%1 (%2): form %3, module %4</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="71"/>
        <source>Only numbers.</source>
        <translation>Only numbers.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="72"/>
        <source>Only numbers and characters. (7-bit ascii)
</source>
        <translation>Only numbers and characters. (7-bit ascii)
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="73"/>
        <source>The value is only 1 or 0.</source>
        <translation>The value is only 1 or 0.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="74"/>
        <source>Telephone number: only numbers.</source>
        <translation>Telephone number: only numbers.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="87"/>
        <source>Az összes mező kitöltése kötelező.</source>
        <translation>Every field must be filled in.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="89"/>
        <source>Ékezetes karakterek nem használhatóak.</source>
        <translation>Accented letters cannot be used.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="91"/>
        <source>A(z) %1 mező olyan karaktert tartalmaz, amely nem küldhető el a modulnak.</source>
        <translation>The field %1 holds a character that cannot be sent to the module.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="94"/>
        <source>Az ellenőrző karakter nem lehet vezérlőkarakter.</source>
        <translation>The checksum character cannot be a control character.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="95"/>
        <source>A(z) %1 mező vezérlőkaraktert (például sortörést) tartalmaz.</source>
        <translation>The field %1 holds a control character (a line break, say).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="100"/>
        <source>A(z) %1 mező csak számjegyet és szóközt tartalmazhat.</source>
        <translation>The field %1 takes only digits and blanks.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="102"/>
        <source>A(z) %1 mező csak ékezet nélküli betűt, számjegyet és írásjelet tartalmazhat.</source>
        <translation>The field %1 takes only letters without accents, digits and punctuation.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="104"/>
        <source>A(z) %1 mező értéke csak 1, 0 vagy üres lehet.</source>
        <translation>The field %1 takes only 1, 0 or nothing.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="111"/>
        <source>A mezők nem tartalmazhatják az elválasztó karaktert (%1).</source>
        <translation>The fields cannot hold the separator (%1).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="112"/>
        <source>A(z) %1 mező nem tartalmazhatja az elválasztó karaktert (%2).</source>
        <translation>The field %1 cannot hold the separator (%2).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="121"/>
        <source>Nincs port kiválasztva.</source>
        <translation>No port is chosen.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="125"/>
        <source>%1: szabad</source>
        <translation>%1: free</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="131"/>
        <source>%1: nem található</source>
        <translation>%1: not found</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="133"/>
        <source>%1: nincs jogosultság (csoport: %2)</source>
        <translation>%1: no permission (group: %2)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="136"/>
        <source>%1: foglalt (%2, %3)</source>
        <translation>%1: busy (%2, %3)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="138"/>
        <source>%1: foglalt (%2)</source>
        <translation>%1: busy (%2)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="143"/>
        <source>%1: foglalt (zárolófájl: %2)</source>
        <translation>%1: busy (lock file: %2)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="144"/>
        <source>%1: foglalt</source>
        <translation>%1: busy</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="184"/>
        <source>A vonal %1 bájt után megszakadt.</source>
        <translation>The line closed after %1 bytes.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="154"/>
        <source>. Megoldás: sudo usermod -aG %1 $USER, majd új bejelentkezés.</source>
        <translation>. The fix: sudo usermod -aG %1 $USER, then log in again.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="130"/>
        <source>%1: az adapter nincs csatlakoztatva</source>
        <translation>%1: the adapter is not plugged in</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="140"/>
        <source>%1: foglalt: a %2 zárolófájl a már véget ért %3 folyamatot nevezi meg, és csak a tulajdonosa törölheti: sudo rm %2</source>
        <translation>%1: busy: the lock file %2 names process %3, which has ended, and only its owner may remove it: sudo rm %2</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="156"/>
        <source>. A felhasználó már tagja a(z) „%1” csoportnak, de ebben a munkamenetben még nem: jelentkezzen ki és be újra (vagy: newgrp %1).</source>
        <translation>. You are in the group “%1”, but not in this session yet: log out and in again (or: newgrp %1).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="159"/>
        <source>. A(z) „%1” csoport nem írhatja az eszközt (%2): egy udev-szabály adhatja meg, például ez a sor a /etc/udev/rules.d/99-tavir340.rules fájlban: %3</source>
        <translation>. The group “%1” may not write to the device (%2): a udev rule must give it, for example this line in /etc/udev/rules.d/99-tavir340.rules: %3</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="163"/>
        <source>. Az eszközt csak a root használhatja: egy udev-szabály adhatja egy csoportnak, például ez a sor a /etc/udev/rules.d/99-tavir340.rules fájlban: %1</source>
        <translation>. Only root may use the device: a udev rule must give it to a group, for example this line in /etc/udev/rules.d/99-tavir340.rules: %1</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="376"/>
        <source>A port nem fogadja el a vonal beállításait.</source>
        <translation>The port does not take the line settings.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="370"/>
        <source>A modul nem válaszolt.</source>
        <translation>The module did not answer.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="187"/>
        <source>A modul nem a várt választ adta (kapott bájtok: %1).</source>
        <translation>The module gave another answer (bytes received: %1).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="378"/>
        <source>A modul nem nyugtázta a betöltést.</source>
        <translation>The module did not acknowledge the download.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="189"/>
        <source>Hibás nyugtázás (kapott bájtok: %1).</source>
        <translation>Wrong acknowledge (bytes received: %1).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="381"/>
        <source>A modul %1 mezőt küldött %2 helyett.</source>
        <translation>The module sent %1 fields instead of %2.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="203"/>
        <source>A modul értéke: %1</source>
        <translation>The module holds: %1</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="209"/>
        <source>Legutóbb betöltve: %1</source>
        <translation>Last downloaded: %1</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="218"/>
        <source>%1 (%2): akkor %3, most %4</source>
        <translation>%1 (%2): then %3, now %4</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="35"/>
        <source>Hívja a modul számát</source>
        <translation>Call the module&apos;s number</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="35"/>
        <source>Hívja a %1 számot</source>
        <translation>Call %1</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="37"/>
        <source>Egyik szám sem vezérli a kimeneteket.</source>
        <translation>No number controls the outputs.</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="38"/>
        <source>%1 ezekről a számokról: %2.</source>
        <translation>%1 from these numbers: %2.</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="55"/>
        <source>Tavir-340 modul: %1</source>
        <translation>Tavir-340 module: %1</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="55"/>
        <source>(névtelen)</source>
        <translation>(no name)</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="57"/>
        <source>Modul neve</source>
        <translation>Module name</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="58"/>
        <source>Modul azonosító</source>
        <translation>Module identifier</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="59"/>
        <source>A modul telefonszáma</source>
        <translation>The module&apos;s number</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="59"/>
        <source>(nincs megadva)</source>
        <translation>(not given)</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="60"/>
        <source>Kapunyitás</source>
        <translation>Opening the gate</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="61"/>
        <source>PIN-kód</source>
        <translation>PIN</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="61"/>
        <source>(nincs a lapon)</source>
        <translation>(not printed)</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="62"/>
        <source>Relé meghúzási idő</source>
        <translation>Relay time</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="62"/>
        <source>%1 másodperc</source>
        <translation>%1 seconds</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="63"/>
        <source>Visszaállás</source>
        <translation>Restore</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="63"/>
        <source>nem</source>
        <translation>no</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="64"/>
        <source>1-es bemenet</source>
        <translation>Input 1</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="65"/>
        <source>2-es bemenet</source>
        <translation>Input 2</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="66"/>
        <source>Dátum</source>
        <translation>Date</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="69"/>
        <source>Telefonszám</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="69"/>
        <source>1-es bemenet riaszt</source>
        <translation>Input 1 alarms</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="69"/>
        <source>Név</source>
        <translation>Name</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="70"/>
        <source>2-es bemenet riaszt</source>
        <translation>Input 2 alarms</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="70"/>
        <source>3-as kimenetet vezérli</source>
        <translation>Controls output 3</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="70"/>
        <source>4-es kimenetet vezérli</source>
        <translation>Controls output 4</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="76"/>
        <source>Telepítette: %1</source>
        <translation>Installed by: %1</translation>
    </message>
    <message>
        <location filename="../labels/handoverpage.cpp" line="19"/>
        <location filename="../labels/handoverpage.cpp" line="63"/>
        <source>igen</source>
        <translation>yes</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="225"/>
        <source>A modul PIN-kódja is kerüljön a lapra?</source>
        <translation>Print the module&apos;s PIN on the sheet too?</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="230"/>
        <source>Kitöltetlen mező: %1.</source>
        <translation>Empty field: %1.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="240"/>
        <source>Kitöltetlen mezők: %1.</source>
        <translation>Empty fields: %1.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="250"/>
        <source>A modul válasza nem egyezik az űrlappal.</source>
        <translation>The module&apos;s answer differs from the form.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="259"/>
        <source>The form cannot be saved: it does not have %1 fields and %2 boxes.</source>
        <translation>The form cannot be saved: it does not have %1 fields and %2 boxes.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="261"/>
        <source>it is &quot;%1&quot;, which marks the end of a content file</source>
        <translation>it is &quot;%1&quot;, which marks the end of a content file</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="262"/>
        <source>it holds a line break</source>
        <translation>it holds a line break</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="263"/>
        <source>it holds a NUL character</source>
        <translation>it holds a NUL character</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="264"/>
        <source>it holds a character that a content file cannot store</source>
        <translation>it holds a character that a content file cannot store</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="265"/>
        <source>it is longer than the field</source>
        <translation>it is longer than the field</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="267"/>
        <source>The field &quot;%1&quot; cannot be saved: %2.</source>
        <translation>The field &quot;%1&quot; cannot be saved: %2.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="272"/>
        <source>A telefonkönyv nem írható: %1
%2</source>
        <translation>The phone book cannot be written: %1
%2</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="278"/>
        <source>nem közönséges fájl</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="280"/>
        <source>szimbolikus hivatkozás, amelyen át a program nem ír</source>
        <translation>a symbolic link, which is never written through</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="282"/>
        <source>%1 felhasználó fájlja egy mások által is írható mappában; a program nem cseréli ki</source>
        <translation>a file of %1 in a folder others may write, which is not replaced</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="284"/>
        <source>%1 felhasználó mappája; a program csak a futtató felhasználó mappáiba ír</source>
        <translation>a folder of %1; files are written only into folders of the user running this program</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="286"/>
        <source>mások is írhatnak a mappába (sticky bit nélkül), és kicserélhetnék, amit a program ír</source>
        <translation>a folder others may write in (without the sticky bit), where they could replace what is written</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="296"/>
        <source>hiányzik a Qt %1 adatbázis-meghajtója</source>
        <translation>lacks Qt&apos;s %1 database driver</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="297"/>
        <source>nem hozható létre</source>
        <translation>cannot be made</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="298"/>
        <source>nem található</source>
        <translation>is not there</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="299"/>
        <source>nem nyitható meg</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="300"/>
        <source>csak olvasható</source>
        <translation>is read-only</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="302"/>
        <source>újabb program készítette (a napló %1. változatú, ez a program a %2. változatot ismeri)</source>
        <translation>was made by a newer program (journal version %1; this program knows version %2)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="305"/>
        <source>nem veszi fel a bejegyzést</source>
        <translation>does not take the entry</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="306"/>
        <source>nem abszolút útvonal (ezt jelentené: %1)</source>
        <translation>is not an absolute path (it would mean %1)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="307"/>
        <source>lemeze megtelt</source>
        <translation>is on a full disk</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="308"/>
        <source>sérült</source>
        <translation>is damaged</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="309"/>
        <source>más program adatbázisa, nem napló</source>
        <translation>is another program&apos;s database, not a journal</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="313"/>
        <source>már nem ennek a futásnak a foglalását tartja</source>
        <translation>no longer holds this run&apos;s claim</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="314"/>
        <source>szimbolikus hivatkozás; a napló saját fájlját adja meg</source>
        <translation>is a symbolic link; name the journal&apos;s own file</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="315"/>
        <source>mellett a(z) %1 nem csak a napló tulajdonosáé (600-as mód)</source>
        <translation>has %1 beside it that is not the journal owner&apos;s alone (mode 600)</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="321"/>
        <source>A napló (%1) %2.
A műveletek ettől kezdve nem kerülnek a naplóba.</source>
        <translation>The journal (%1) %2.
Transfers are not recorded from now on.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="327"/>
        <source>betöltés</source>
        <translation>download</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="329"/>
        <source>kiolvasás</source>
        <translation>read-up</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="331"/>
        <source>ellenőrzés</source>
        <translation>verify</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="333"/>
        <source>mentés</source>
        <translation>backup</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="335"/>
        <source>telepítés</source>
        <translation>provision</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="342"/>
        <source>sikeres</source>
        <translation>ok</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="344"/>
        <source>sikertelen</source>
        <translation>failed</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="346"/>
        <source>elutasítva</source>
        <translation>refused</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="348"/>
        <source>megszakítva</source>
        <translation>interrupted</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="349"/>
        <source>befejezetlen</source>
        <translation>unfinished</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="359"/>
        <source>Nem közönséges fájl, így nem manifest.</source>
        <translation>Not a regular file, so not a manifest.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="361"/>
        <source>Nagyobb, mint egy manifest lehet (%1 MiB).</source>
        <translation>Larger than a manifest may be (%1 MiB).</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="372"/>
        <source>Elutasítva.</source>
        <translation>Refused.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="373"/>
        <source>A port nem található.</source>
        <translation>The port is not there.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="374"/>
        <source>A port foglalt.</source>
        <translation>The port is busy.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="375"/>
        <source>Nincs jogosultság a porthoz.</source>
        <translation>No permission to open the port.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="379"/>
        <source>A vonal megszakadt.</source>
        <translation>The line closed.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="382"/>
        <source>A jelölőnégyzeteknek nincs csoportszáma.</source>
        <translation>The check boxes have no group numbers.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="383"/>
        <source>A modul válasza nem konfiguráció.</source>
        <translation>The module&apos;s answer is not a configuration.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="384"/>
        <source>A modul más konfigurációt tárol.</source>
        <translation>The module holds another configuration.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="385"/>
        <source>Megszakítva.</source>
        <translation>Cancelled.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="386"/>
        <source>Megszakítva: a modul tartalma ismeretlen.</source>
        <translation>Interrupted: the module&apos;s content is unknown.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="387"/>
        <source>A modul tartalma nem menthető fájlba.</source>
        <translation>The module&apos;s content cannot be kept in a file.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="388"/>
        <source>A fájl nem írható.</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="389"/>
        <source>A mentés nem sikerült, a modul nem lett írva.</source>
        <translation>The backup failed; the module was not written.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="390"/>
        <source>Egy lépés vége nem került a naplóba.</source>
        <translation>A step&apos;s end was not recorded in the journal.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="391"/>
        <source>Beírva, de nem igazolt: az ellenőrzés egyezése nincs a naplóban.</source>
        <translation>Written, not proven: the verify&apos;s agreement is not in the journal.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="392"/>
        <source>A modul még a(z) %1 egységet tartalmazza: nem lett cserélve, nem lett írva.</source>
        <translation>The module still holds unit %1: not swapped, not written.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="393"/>
        <source>A foglalás elveszett: a modulra több bájt nem ment ki.</source>
        <translation>Claim lost: nothing more was sent to the module.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="403"/>
        <source>Levágva a mező hosszára: %1</source>
        <translation>Cut to the field&apos;s length: %1</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="409"/>
        <source>No opened file.</source>
        <translation>No opened file.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="412"/>
        <source>8bit sum</source>
        <translation>8bit sum</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="413"/>
        <source>16bit sum</source>
        <translation>16bit sum</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="414"/>
        <source>24bit sum</source>
        <translation>24bit sum</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="415"/>
        <source>32bit sum</source>
        <translation>32bit sum</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="439"/>
        <source>Szimulált modul</source>
        <translation>Simulated module</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="420"/>
        <source>Port: %1
</source>
        <translation>Port: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="195"/>
        <source>A modul tartalma most ismeretlen: futtassa újra a letöltést.</source>
        <translation>The module&apos;s content is now unknown: run the download again.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="196"/>
        <source>A modulba nem került adat.</source>
        <translation>Nothing reached the module.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="197"/>
        <source>Betöltés megszakítva.</source>
        <translation>Download interrupted.</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="310"/>
        <source>%1 felhasználó fájlja, nem a programot futtatóé; érintetlenül maradt</source>
        <translation>belongs to %1, not to the user running this program; it was left as it was</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="311"/>
        <source>mappája %1 felhasználóé; napló csak a programot futtató felhasználó mappájában lehet</source>
        <translation>has its folder owned by %1; a journal is kept only in a folder of the user running this program</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="312"/>
        <source>mappájába (%1) mások is írhatnak sticky bit nélkül, és kicserélhetnék</source>
        <translation>is in a folder (%1) others may write in without the sticky bit, where they could replace it</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="421"/>
        <source>Baudrate: B%1
</source>
        <translation>Baudrate: B%1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="422"/>
        <source>Timeout: %1
</source>
        <translation>Timeout: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="423"/>
        <source>CHKS: %1
</source>
        <translation>CHKS: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="424"/>
        <source>ACK char: %1
</source>
        <translation>ACK char: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="425"/>
        <source>Checkvalue: %1
</source>
        <translation>Checkvalue: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="426"/>
        <source>Download Separator: %1
</source>
        <translation>Download Separator: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="427"/>
        <source>Upload Separator: %1
</source>
        <translation>Upload Separator: %1
</translation>
    </message>
    <message>
        <location filename="../gui/texts/windowtexts.cpp" line="428"/>
        <source>Upload Command: %1
</source>
        <translation>Upload Command: %1
</translation>
    </message>
    <message>
        <location filename="../gui/files/handoverprint.cpp" line="75"/>
        <source>név, cég</source>
        <translation>name, company</translation>
    </message>
    <message>
        <location filename="../gui/files/handoverprint.cpp" line="81"/>
        <source>Telepítő:</source>
        <translation>Installer:</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="42"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="42"/>
        <source>ismeretlen ok</source>
        <translation>unknown reason</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="53"/>
        <source>Műszak összesítő: %1</source>
        <translation>Shift report: %1</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="55"/>
        <source>Egységek</source>
        <translation>Units</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="55"/>
        <source>%1, ebből hátra van %2</source>
        <translation>%1, of which %2 left</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="56"/>
        <source>Időszak</source>
        <translation>Period</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="56"/>
        <source>%1 óta</source>
        <translation>since %1</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="56"/>
        <source>a napló egésze</source>
        <translation>the whole journal</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="57"/>
        <location filename="../labels/shiftreportpage.cpp" line="59"/>
        <source>Állomás</source>
        <translation>Station</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="57"/>
        <source>mind</source>
        <translation>all</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="59"/>
        <source>Igazolva</source>
        <translation>Proven</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="59"/>
        <source>Hiba</source>
        <translation>Failed</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="59"/>
        <source>Nem cserélt</source>
        <translation>Not swapped</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="59"/>
        <source>Nem igazolt</source>
        <translation>Not proven</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="60"/>
        <source>Megszakítva</source>
        <translation>Interrupted</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="60"/>
        <source>Egység/óra</source>
        <translation>Units/hour</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="60"/>
        <source>Első igazolás</source>
        <translation>First proof</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="60"/>
        <source>Utolsó igazolás</source>
        <translation>Last proof</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="64"/>
        <source>Összesen</source>
        <translation>Total</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="67"/>
        <source>Hibák, %1</source>
        <translation>Failures, %1</translation>
    </message>
    <message>
        <location filename="../labels/shiftreportpage.cpp" line="69"/>
        <source>Készült: %1, a napló alapján</source>
        <translation>Made %1, from the journal</translation>
    </message>
</context>
<context>
    <name>WindowTransfers</name>
    <message>
        <location filename="../gui/transfer/windowtransfers.cpp" line="161"/>
        <source>Betöltés hiba.</source>
        <translation>Download error.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/windowtransfers.cpp" line="170"/>
        <source>Betöltés</source>
        <translation>Download</translation>
    </message>
</context>
<context>
    <name>about</name>
    <message>
        <location filename="../gui/help/about.cpp" line="55"/>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../gui/help/about.cpp" line="56"/>
        <source>© Példa Elektronika Kft. 2026. Minden jog fenntartva.</source>
        <translation>© Példa Elektronika Ltd. 2026. All rights reserved.</translation>
    </message>
    <message>
        <location filename="../gui/help/about.cpp" line="57"/>
        <source>www.example.com</source>
        <translation>www.example.com</translation>
    </message>
    <message>
        <location filename="../gui/help/about.cpp" line="58"/>
        <source>tavir340@example.com</source>
        <translation>tavir340@example.com</translation>
    </message>
    <message>
        <location filename="../gui/help/about.cpp" line="59"/>
        <source>Készítette: a Példa Elektronika fejlesztőcsapata</source>
        <translation>Made by the Példa Elektronika development team</translation>
    </message>
    <message>
        <location filename="../gui/help/about.cpp" line="60"/>
        <source>Version v1.4</source>
        <translation>Version v1.4</translation>
    </message>
</context>
<context>
    <name>dload</name>
    <message>
        <location filename="../gui/transfer/dload.cpp" line="97"/>
        <source>Betöltés</source>
        <translation>Download</translation>
    </message>
    <message>
        <location filename="../gui/transfer/dload.cpp" line="98"/>
        <source>Betöltés...</source>
        <translation>Downloading...</translation>
    </message>
    <message>
        <location filename="../gui/transfer/dload.cpp" line="112"/>
        <source>Sikeres betöltés.
Szimulált modul: valódi eszköz nem lett írva.</source>
        <translation>Download succeeded.
Simulated module: no real device was written.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/dload.cpp" line="113"/>
        <source>Sikeres betöltés.</source>
        <translation>Download succeeded.</translation>
    </message>
    <message>
        <location filename="../gui/transfer/dload.cpp" line="120"/>
        <source>Betöltés hiba.
Tipp: ellenőrizze az eszközt és a portbeállításokat.</source>
        <translation>Download error.
Tip: check the device and the port settings.</translation>
    </message>
</context>
<context>
    <name>help</name>
    <message>
        <location filename="../gui/help/help.cpp" line="34"/>
        <source>tavir_16.hlp</source>
        <translation>tavir_16_en.hlp</translation>
    </message>
    <message>
        <location filename="../gui/help/help.cpp" line="34"/>
        <source>ERROR: Canot open the help file.</source>
        <translation>ERROR: Canot open the help file.</translation>
    </message>
    <message>
        <location filename="../gui/help/help.cpp" line="39"/>
        <source>Help</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>journalView</name>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="33"/>
        <source>Idő</source>
        <translation>Time</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="33"/>
        <source>Állomás</source>
        <translation>Station</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="34"/>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="34"/>
        <source>Művelet</source>
        <translation>Operation</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="35"/>
        <source>Azonosító</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="35"/>
        <source>Név</source>
        <translation>Name</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="36"/>
        <source>Eredmény</source>
        <translation>Result</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="36"/>
        <source>mp</source>
        <translation>s</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="44"/>
        <source>Napló</source>
        <translation>Journal</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="88"/>
        <source>&amp;Modul:</source>
        <translation>&amp;Module:</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="91"/>
        <source>azonosító vagy név</source>
        <translation>identifier or name</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="94"/>
        <source>&amp;Eredmény:</source>
        <translation>&amp;Result:</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="97"/>
        <source>mind</source>
        <translation>all</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="126"/>
        <source>Betöltés az űrlapba</source>
        <translation>Put into the form</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="129"/>
        <source>Össze&amp;hasonlítás</source>
        <translation>&amp;Compare</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="132"/>
        <source>Exportálás CSV-be...</source>
        <translation>Export as CSV...</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="154"/>
        <source>Napló: %1</source>
        <translation>Journal: %1</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="216"/>
        <source>%1 bejegyzés, számolás...</source>
        <translation>%1 entries, counting...</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="217"/>
        <source>%1 / %2 bejegyzés</source>
        <translation>%1 of %2 entries</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="246"/>
        <location filename="../gui/journal/journalview.cpp" line="281"/>
        <source>A bejegyzés nem tartalmaz űrlapot.</source>
        <translation>This entry holds no form.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="286"/>
        <source>A #%1 és a #%2 bejegyzés űrlapja azonos.</source>
        <translation>The forms of entries #%1 and #%2 are the same.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="287"/>
        <source>%1 mező különbözik a #%2 és a #%3 bejegyzés között.</source>
        <translation>%1 field(s) differ between entries #%2 and #%3.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="289"/>
        <source>Összehasonlítás</source>
        <translation>Compare</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="299"/>
        <source>Exportálás</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="299"/>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="303"/>
        <source>Exportálás...</source>
        <translation>Exporting...</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="303"/>
        <source>Megszakítás</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="316"/>
        <source>Hiba</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="316"/>
        <source>A fájl nem írható: %1
%2</source>
        <translation>The file cannot be written: %1
%2</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="318"/>
        <source>Az exportálás megszakítva, a fájl nem készült el.</source>
        <translation>Export cancelled; no file was made.</translation>
    </message>
    <message>
        <location filename="../gui/journal/journalview.cpp" line="320"/>
        <source>%1 bejegyzés exportálva: %2</source>
        <translation>%1 entries exported: %2</translation>
    </message>
</context>
<context>
    <name>separators</name>
    <message>
        <location filename="../gui/settings/chardialog.cpp" line="145"/>
        <source>Separators</source>
        <translation>Separators</translation>
    </message>
    <message>
        <location filename="../gui/settings/chardialog.cpp" line="146"/>
        <source>Download separator:</source>
        <translation>Download separator:</translation>
    </message>
    <message>
        <location filename="../gui/settings/chardialog.cpp" line="147"/>
        <source>Upload separator:</source>
        <translation>Upload separator:</translation>
    </message>
</context>
<context>
    <name>setcom</name>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="175"/>
        <source>Port options</source>
        <translation>Port options</translation>
    </message>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="176"/>
        <source>COM Port:</source>
        <translation>COM Port:</translation>
    </message>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="177"/>
        <source>Baudrate:</source>
        <translation>Baudrate:</translation>
    </message>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="183"/>
        <source>Nem található soros port.</source>
        <translation>No serial port found.</translation>
    </message>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="185"/>
        <source>Nincs szabad soros port.</source>
        <translation>No serial port is free.</translation>
    </message>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="190"/>
        <source>%1: nincs jogosultság</source>
        <translation>%1: no permission</translation>
    </message>
    <message>
        <location filename="../gui/settings/setcom.cpp" line="196"/>
        <source>%1: nem található</source>
        <translation>%1: not found</translation>
    </message>
</context>
</TS>
