#include "mainwindowui.h"

#include "labels/fieldcaptions.h"

#include "formcolours.h"

#include "core/form/formvalues.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <array>
#include <future>

namespace {

// The visible fields with their captions and hints (each on the field's row).
struct VisibleField
{
    int x, y, w, h;
    const char *caption;
    const char *hint;
};

const VisibleField visibleFields[RequiredFieldCount] = {
    {189, 10, 91, 20, "label_2", "label_18"},    // smskp
    {160, 35, 35, 20, "label_3", "label_19"},    // m_pin
    {160, 60, 35, 20, "label_4", "label_20"},    // m_id
    {160, 85, 120, 20, "label_17", "label_43"},  // m_nev
    {160, 110, 15, 21, "label_5", "label_21"},   // visszaallas
    {160, 135, 120, 20, "label_6", "label_44"},  // be1_nev
    {160, 160, 120, 20, "label_7", "label_45"},  // be2_nev
    {160, 185, 35, 20, "label_8", "label_22"},   // rele_time
    {160, 255, 120, 20, "label_9", "label_23"},  // ki3_on
    {160, 280, 120, 20, "label_10", "label_24"}, // ki4_on
    {160, 305, 120, 20, "label_11", "label_25"}, // ki3_off
    {160, 330, 120, 20, "label_12", "label_26"}, // ki4_off
    {160, 355, 120, 20, "label_13", "label_39"}, // be1_on_msg
    {160, 380, 120, 20, "label_14", "label_40"}, // be1_off_msg
    {160, 405, 120, 20, "label_15", "label_41"}, // be2_on_msg
    {160, 430, 120, 20, "label_16", "label_42"}, // be2_off_msg
};

const int hiddenFieldY[12] = {840, 860, 900, 880, 920, 940, 960, 980, 1000, 1020, 1040, 1060};

struct LabelText
{
    const char *name;
    const char *text;
};

// Hints and headers; the captions come with the fields.
const LabelText labelTexts[] = {
    {"label_18", QT_TRANSLATE_NOOP("MainWindow", "Nemzetközi formátum")},
    {"label_19", QT_TRANSLATE_NOOP("MainWindow", "0000-9999")},
    {"label_20", QT_TRANSLATE_NOOP("MainWindow", "0000-9999")},
    {"label_21", QT_TRANSLATE_NOOP("MainWindow", "1=igen, 0=nem")},
    {"label_22", QT_TRANSLATE_NOOP("MainWindow", "0000-9999 (mp)")},
    {"label_23", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_24", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_25", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_26", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_39", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_40", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_41", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_42", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_43", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_44", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_45", QT_TRANSLATE_NOOP("MainWindow", "Ékezetek nélkül")},
    {"label_27", QT_TRANSLATE_NOOP("MainWindow", "Bemenet riasztás  2     1")},
    {"label_28", QT_TRANSLATE_NOOP("MainWindow", "Kimenet vezérlés  2     1")},
    {"label_29", QT_TRANSLATE_NOOP("MainWindow", "Telefonszám")},
};


// Every text of the form is the main window's to translate.
QString translated(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

const VisibleField *fieldWithLabel(const char *labelName, bool *isHint)
{
    for (const VisibleField &field : visibleFields) {
        if (qstrcmp(field.caption, labelName) == 0 || qstrcmp(field.hint, labelName) == 0) {
            *isHint = qstrcmp(field.hint, labelName) == 0;
            return &field;
        }
    }
    return nullptr;
}

QAction *newAction(QMainWindow *window, const char *name)
{
    auto *action = new QAction(window);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

namespace Ui {

QLabel *MainWindow::addLabel(const char *name, int x, int y, int w, int h)
{
    auto *label = new QLabel(Frame);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, w, h);
    labels.append(label);
    return label;
}

void MainWindow::setupUi(QMainWindow *window)
{
    window->setObjectName("MainWindow");
    window->resize(920, 507);
    window->setMinimumSize(920, 507);
    window->setMaximumSize(920, 507);


    // The pictures are decoded on another thread while the widgets are built,
    // straight into the pixel format of a pixmap, so that turning them into
    // pixmaps here costs no further pass over the pixels.
    auto pictures = std::async(std::launch::async, [] {
        auto decode = [](const QString &path) {
            QImage image(path);
            image.convertTo(QImage::Format_ARGB32_Premultiplied);
            return image;
        };
        return std::array<QImage, 3>{decode(QStringLiteral(":/img/img/icon_download.png")),
                                     decode(QStringLiteral(":/img/img/Tavir_340_stamp_high.png")),
                                     decode(QStringLiteral(":/img/img/Tavir_340_stamp_low.png"))};
    });

    createActions(window);

    centralWidget = new QWidget(window);
    centralWidget->setObjectName("centralWidget");
    centralWidget->setAutoFillBackground(false);
    createForm();
    window->setCentralWidget(centralWidget);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName("menuBar");
    menuBar->setGeometry(0, 0, 920, 21);
    createMenus(window);
    window->setMenuBar(menuBar);

    statusBar = new QStatusBar(window);
    statusBar->setObjectName("statusBar");
    statusBar->setSizeGripEnabled(false);  // the window has one size
    window->setStatusBar(statusBar);
    applyColours(window);
    setTabOrder();

    const std::array<QImage, 3> images = pictures.get();
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(images[0]), QIcon::Normal, QIcon::Off);
    window->setWindowIcon(icon);
    Frame->findChild<QLabel *>("label")->setPixmap(QPixmap::fromImage(images[1]));
    Frame->findChild<QLabel *>("label_30")->setPixmap(QPixmap::fromImage(images[2]));

    retranslateUi(window);
}

void MainWindow::applyColours(QMainWindow *window)
{
    const FormColours colours = formColours(QApplication::palette());
    QPalette palette = QApplication::palette();
    palette.setBrush(QPalette::Active, QPalette::Text, QBrush(colours.text, Qt::SolidPattern));
    palette.setBrush(QPalette::Inactive, QPalette::Text, QBrush(colours.text, Qt::SolidPattern));
    palette.setBrush(QPalette::Disabled, QPalette::Text, QBrush(colours.disabledText, Qt::SolidPattern));
    window->setPalette(palette);
    for (QLabel *hint : std::as_const(hintLabels))
        hint->setStyleSheet(colourStyle(colours.hint));
    alarmHeader->setStyleSheet(colourStyle(colours.alarmHeader));
    controlHeader->setStyleSheet(colourStyle(colours.controlHeader));
}

// Top to bottom down the fields, then the telephone rows, each box of a row
// from left to right and then its number.
void MainWindow::setTabOrder()
{
    QList<QWidget *> order = {smskp_combo};
    for (int i = 0; i < RequiredFieldCount; ++i)
        order << lineEdits[i];
    for (int n = 1; n <= TelephoneCount; ++n) {
        for (int column = 1; column <= 4; ++column)
            order << Frame->findChild<QCheckBox *>(QStringLiteral("tc%1_%2").arg(column).arg(n));
        order << lineEdits[FieldItemCount + n - 1];
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::createActions(QMainWindow *window)
{
    actionNew = newAction(window, "actionNew");
    actionNew->setEnabled(false);
    actionNew->setVisible(false);
    actionOpen = newAction(window, "actionOpen");
    actionSave = newAction(window, "actionSave");
    actionSaveAs = newAction(window, "actionSaveAs");
    actionSaveAs->setEnabled(false);
    actionSaveAs->setVisible(false);
    actionExit = newAction(window, "actionExit");
    actionPort = newAction(window, "actionPort");
    actionCheck = newAction(window, "actionCheck");
    actionCheck->setCheckable(true);
    actionCheck->setEnabled(false);
    action8bit_sum = newAction(window, "action8bit_sum");
    action16bit_sum = newAction(window, "action16bit_sum");
    action24bit_sum = newAction(window, "action24bit_sum");
    action32bit_sum = newAction(window, "action32bit_sum");
    actionFix = newAction(window, "actionFix");
    for (QAction *mode : {action8bit_sum, action16bit_sum, action24bit_sum, action32bit_sum, actionFix})
        mode->setCheckable(true);
    actionACK = newAction(window, "actionACK");
    actionACK->setEnabled(false);
    actionSeparators = newAction(window, "actionSeparators");
    actionSeparators->setEnabled(false);
    actionUC = newAction(window, "actionUC");
    actionUC->setEnabled(false);
    actionReadup = newAction(window, "actionReadup");
    actionDownload = newAction(window, "actionDownload");
    actionVerify = newAction(window, "actionVerify");
    actionJournal = newAction(window, "actionJournal");
    actionStation = newAction(window, "actionStation");
    actionChanges = newAction(window, "actionChanges");
    actionPrint = newAction(window, "actionPrint");
    actionImportPhones = newAction(window, "actionImportPhones");
    actionExportPhones = newAction(window, "actionExportPhones");
    actionPhoneBook = newAction(window, "actionPhoneBook");
    actionUndo = newAction(window, "actionUndo");
    actionRedo = newAction(window, "actionRedo");
    actionAbout = newAction(window, "actionAbout");
    actionContents = newAction(window, "actionContents");
}

// "Courier" first; the others are the faces it usually stands for here,
// named so that no slow font fallback search is needed.
static QFont courierFont()
{
    QFont courier;
    courier.setFamilies({QStringLiteral("Courier"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
    return courier;
}

void MainWindow::addLineEdit(int index, int x, int y, int w, int h, bool courier)
{
    auto *edit = new QLineEdit(Frame);
    edit->setObjectName(lineEditCatalogue()[index].name);
    edit->setGeometry(x, y, w, h);
    edit->setMaxLength(lineEditCatalogue()[index].maxLength);
    if (courier)
        edit->setFont(courierFont());
    lineEdits.append(edit);
}

void MainWindow::addFieldLabel(const char *name)
{
    bool hint = false;
    const VisibleField *f = fieldWithLabel(name, &hint);
    const int captionWidth = f == &visibleFields[0] ? 81 : 150;
    QLabel *label = addLabel(name, hint ? 290 : 10, f->y, hint ? 121 : captionWidth, 16);
    if (hint)
        hintLabels.append(label);
}

void MainWindow::addCheckBox(int index)
{
    const CheckBoxSpec &entry = checkBoxCatalogue()[index];
    auto *box = new QCheckBox(Frame);
    box->setObjectName(entry.name);
    const CheckBoxPlace place = checkBoxPlace(entry.name).value();
    static const int columnX[] = {0, 420, 440, 480, 500};
    box->setGeometry(columnX[place.column], 55 + 25 * (place.row - 1), 16, 18);
    box->setProperty("group", entry.group);
    checkBoxes.append(box);
}

// The widgets in the order the record layout takes them: the visible fields
// and their captions, the reserve fields, the telephone numbers, then the
// first row's boxes, the headers and every other box.
void MainWindow::createForm()
{
    Frame = new QFrame(centralWidget);
    Frame->setObjectName("Frame");
    Frame->setGeometry(0, 0, 925, 470);
    Frame->setFrameShape(QFrame::NoFrame);
    Frame->setFrameShadow(QFrame::Plain);
    Frame->setLineWidth(0);
    // The captions were laid out for a narrow dialog font; a small size with
    // slightly tighter letters keeps the longest of them within the 150
    // pixels before the fields, without loading another face.
    QFont formFont;
    formFont.setPixelSize(10);
    formFont.setLetterSpacing(QFont::PercentageSpacing, 96);
    Frame->setFont(formFont);

    createFields();
    for (int k = 0; k < 4; ++k)
        addCheckBox(k);
    createPermissionHeaders();
    for (int k = 4; k < CheckBoxCount; ++k)
        addCheckBox(k);
    for (const char *name : {"label_39", "label_40", "label_41", "label_42", "label_43", "label_44", "label_45"})
        addFieldLabel(name);

    addLabel("label", 660, 20, 251, 211);     // the module in its case
    addLabel("label_30", 660, 250, 251, 201);  // the bare board

    smskp_combo = new QComboBox(Frame);
    smskp_combo->setObjectName("smskp_combo");
    smskp_combo->setGeometry(100, 10, 81, 22);
    QFont comboFont;
    comboFont.setBold(false);
    smskp_combo->setFont(comboFont);
    for (qsizetype i = 0; i < smsOperators().size(); ++i)
        smskp_combo->addItem(QString());
}

void MainWindow::createFields()
{
    for (int i = 0; i < RequiredFieldCount; ++i) {
        const VisibleField &f = visibleFields[i];
        addLineEdit(i, f.x, f.y, f.w, f.h, true);
    }
    smskp = lineEdits.first();
    smskp->setEnabled(false);

    // Captions and hints of the upper fields, the module name's caption last.
    for (const char *name : {"label_2", "label_3", "label_4", "label_5", "label_6", "label_7", "label_8", "label_9",
                             "label_10", "label_11", "label_12", "label_13", "label_14", "label_15", "label_16",
                             "label_18", "label_19", "label_20", "label_21", "label_22", "label_23", "label_24",
                             "label_25", "label_26", "label_17"})
        addFieldLabel(name);

    // The reserve fields lie outside the visible frame; Tab must not lead the
    // technician into them, where typing would go unseen.
    for (int i = 0; i < 12; ++i) {
        addLineEdit(RequiredFieldCount + i, 10, hiddenFieldY[i], 120, 20, false);
        lineEdits.last()->setFocusPolicy(Qt::NoFocus);
    }
    for (int n = 1; n <= TelephoneCount; ++n)
        addLineEdit(FieldItemCount + n - 1, 530, 55 + 25 * (n - 1), 105, 20, true);
}

void MainWindow::createPermissionHeaders()
{
    alarmHeader = addLabel("label_27", 420, 10, 41, 41);
    controlHeader = addLabel("label_28", 480, 10, 41, 41);
    QFont headerFont = Frame->font();
    headerFont.setPixelSize(9);
    for (QLabel *header : {alarmHeader, controlHeader}) {
        header->setFont(headerFont);
        header->setWordWrap(true);
        header->setAlignment(Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);
    }
    addLabel("label_29", 550, 30, 71, 16);
}

void MainWindow::createMenus(QMainWindow *window)
{
    menuFile = new QMenu(menuBar);
    menuFile->setObjectName("menuFile");
    menuSettings = new QMenu(menuBar);
    menuSettings->setObjectName("menuSettings");
    menuCHKS = new QMenu(menuSettings);
    menuCHKS->setObjectName("menuCHKS");
    menuCHKS->setEnabled(false);
    menuDevice = new QMenu(menuBar);
    menuDevice->setObjectName("menuDevice");
    menuHelp = new QMenu(menuBar);
    menuHelp->setObjectName("menuHelp");

    for (QMenu *menu : {menuFile, menuSettings, menuDevice, menuHelp})
        menuBar->addAction(menu->menuAction());
    menuFile->addActions({actionNew, actionOpen, actionSave, actionSaveAs});
    menuFile->addSeparator();
    menuFile->addAction(actionExit);
    menuRecent = new QMenu(menuFile);
    menuRecent->setObjectName("menuRecent");
    menuFile->addSeparator();
    menuFile->addActions({actionUndo, actionRedo, actionPrint, actionImportPhones, actionExportPhones, actionPhoneBook});
    menuFile->addMenu(menuRecent);
    menuSettings->addActions({actionPort, actionCheck, menuCHKS->menuAction(), actionACK});
    menuSettings->addSeparator();
    menuSettings->addActions({actionSeparators, actionUC});
    menuCHKS->addActions({action8bit_sum, action16bit_sum, action24bit_sum, action32bit_sum});
    menuCHKS->addSeparator();
    menuCHKS->addAction(actionFix);
    menuDevice->addAction(actionReadup);
    menuDevice->addSeparator();
    menuDevice->addActions({actionDownload, actionVerify});
    menuDevice->addSeparator();
    menuDevice->addActions({actionJournal, actionStation, actionChanges});
    menuHelp->addActions({actionAbout, actionContents});
    Q_UNUSED(window);
}

namespace {

// Each item of a menu gets an access key of its own: one its text already
// names (a submenu's title), or else the first letter of its text, in the
// window's language, that no other item took.
void giveAccessKeys(QMenu *menu)
{
    const auto textOf = [](const QAction *action) { return action->menu() ? action->menu()->title() : action->text(); };
    QString taken;
    for (const QAction *action : menu->actions()) {
        const QString text = textOf(action);
        if (const int amp = text.indexOf(QLatin1Char('&')); amp >= 0 && amp + 1 < text.size())
            taken += text.at(amp + 1).toLower();
    }
    for (QAction *action : menu->actions()) {
        QString text = textOf(action);
        if (action->isSeparator() || text.contains(QLatin1Char('&')))
            continue;
        for (int i = 0; i < text.size(); ++i) {
            const QChar letter = text.at(i).toLower();
            if (letter.isLetterOrNumber() && !taken.contains(letter)) {
                taken += letter;
                action->setText(text.insert(i, QLatin1Char('&')));
                break;
            }
        }
    }
}

} // namespace

void MainWindow::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "Tavir-340 letöltő szoftver")));

    const struct { QAction *action; const char *text; const char *shortcut; } actionTexts[] = {
        {actionNew, QT_TRANSLATE_NOOP("MainWindow", "New"), "Ctrl+N"},
        {actionOpen, QT_TRANSLATE_NOOP("MainWindow", "Megnyitás"), "Ctrl+O"},
        {actionSave, QT_TRANSLATE_NOOP("MainWindow", "Mentés"), "Ctrl+S"},
        {actionSaveAs, QT_TRANSLATE_NOOP("MainWindow", "Save As"), nullptr},
        {actionExit, QT_TRANSLATE_NOOP("MainWindow", "Exit"), "Ctrl+Q"},
        {actionPort, QT_TRANSLATE_NOOP("MainWindow", "Port"), nullptr},
        {actionCheck, QT_TRANSLATE_NOOP("MainWindow", "Check"), nullptr},
        {action8bit_sum, QT_TRANSLATE_NOOP("MainWindow", "8bit sum"), nullptr},
        {action16bit_sum, QT_TRANSLATE_NOOP("MainWindow", "16bit sum"), nullptr},
        {action24bit_sum, QT_TRANSLATE_NOOP("MainWindow", "24bit sum"), nullptr},
        {action32bit_sum, QT_TRANSLATE_NOOP("MainWindow", "32bit sum"), nullptr},
        {actionFix, QT_TRANSLATE_NOOP("MainWindow", "Fix"), nullptr},
        {actionACK, QT_TRANSLATE_NOOP("MainWindow", "ACK"), nullptr},
        {actionSeparators, QT_TRANSLATE_NOOP("MainWindow", "Separators"), nullptr},
        {actionUC, QT_TRANSLATE_NOOP("MainWindow", "Upload Command"), nullptr},
        {actionReadup, QT_TRANSLATE_NOOP("MainWindow", "Kiolvasás az eszközből"), "Ctrl+R"},
        {actionDownload, QT_TRANSLATE_NOOP("MainWindow", "Betöltés az eszközbe"), "Ctrl+D"},
        {actionVerify, QT_TRANSLATE_NOOP("MainWindow", "Betöltés ellenőrzése"), "Ctrl+V"},
        {actionJournal, QT_TRANSLATE_NOOP("MainWindow", "Napló"), "Ctrl+J"},
        {actionStation, QT_TRANSLATE_NOOP("MainWindow", "Állomás"), "Ctrl+T"},
        {actionChanges, QT_TRANSLATE_NOOP("MainWindow", "Változások a legutóbbi betöltés óta"), ""},
        {actionPrint, QT_TRANSLATE_NOOP("MainWindow", "Nyomtatás..."), "Ctrl+P"},
        {actionImportPhones, QT_TRANSLATE_NOOP("MainWindow", "Telefonszámok importálása..."), ""},
        {actionExportPhones, QT_TRANSLATE_NOOP("MainWindow", "Telefonszámok exportálása..."), ""},
        {actionPhoneBook, QT_TRANSLATE_NOOP("MainWindow", "Telefonkönyv..."), ""},
        {actionUndo, QT_TRANSLATE_NOOP("MainWindow", "Visszavonás"), "Ctrl+Z"},
        {actionRedo, QT_TRANSLATE_NOOP("MainWindow", "Újra"), "Ctrl+Shift+Z"},
        {actionAbout, QT_TRANSLATE_NOOP("MainWindow", "Névjegy"), nullptr},
        {actionContents, QT_TRANSLATE_NOOP("MainWindow", "Tartalom"), "F1"},
    };
    for (const auto &entry : actionTexts) {
        entry.action->setText(translated(entry.text));
        if (entry.shortcut)
            entry.action->setShortcut(QKeySequence(QLatin1String(entry.shortcut)));
    }

    for (QLabel *label : std::as_const(labels)) {
        for (const LabelText &entry : labelTexts) {
            if (label->objectName() == QLatin1String(entry.name))
                label->setText(translated(entry.text));
        }
    }
    for (int i = 0; i < RequiredFieldCount; ++i) {
        Frame->findChild<QLabel *>(QLatin1String(visibleFields[i].caption))->setText(fieldCaption(i));
    }
    smskp->setText(smsOperators().first().number);
    for (int i = 0; i < smskp_combo->count(); ++i)
        smskp_combo->setItemText(i, operatorName(i));

    // With access keys: Alt+F opens File.
    menuFile->setTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "&File")));
    menuSettings->setTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "&Beállítások")));
    menuCHKS->setTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "&CHKS")));
    menuDevice->setTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "&Eszköz")));
    menuHelp->setTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "&Help")));
    menuRecent->setTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "&Legutóbbi fájlok")));
    for (QMenu *menu : {menuFile, menuSettings, menuCHKS, menuDevice, menuHelp})
        giveAccessKeys(menu);
}

} // namespace Ui
