#pragma once

#include <QList>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QMenuBar;
class QStatusBar;
class QWidget;

namespace Ui {

// The main window's form object: every action, menu and form widget, built in
// two steps like a designer form (widgets first, then captions and texts).
class MainWindow
{
public:
    QAction *actionNew, *actionOpen, *actionSave, *actionSaveAs, *actionExit;
    QAction *actionPort, *actionCheck;
    QAction *action8bit_sum, *action16bit_sum, *action24bit_sum, *action32bit_sum, *actionFix;
    QAction *actionACK, *actionSeparators, *actionUC;
    QAction *actionReadup, *actionDownload, *actionVerify, *actionJournal, *actionStation;
    QAction *actionChanges;  // after Eszköz's own items: the form against its last download
    QAction *actionAbout, *actionContents;

    QWidget *centralWidget;
    QFrame *Frame;
    QComboBox *smskp_combo;
    QLineEdit *smskp;
    QList<QLineEdit *> lineEdits;   // the 44, in creation order
    QList<QCheckBox *> checkBoxes;  // the 64, in creation order
    QList<QLabel *> labels;         // every label, in creation order
    QList<QLabel *> hintLabels;     // the red hints beside the fields
    QLabel *alarmHeader = nullptr;
    QLabel *controlHeader = nullptr;

    QMenuBar *menuBar;
    QMenu *menuFile, *menuSettings, *menuCHKS, *menuDevice, *menuHelp;
    QMenu *menuRecent;
    QAction *actionPrint;  // after File's own items: the customer's sheet
    QAction *actionImportPhones;  // numbers from contacts and spreadsheets
    QAction *actionExportPhones;
    QAction *actionPhoneBook;
    QAction *actionUndo, *actionRedo;  // after File's own items: the form's history  // after File's own items: the files opened or saved last
    QStatusBar *statusBar;

    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);
    // The form's colours for the application's palette, light or dark.
    void applyColours(QMainWindow *window);

private:
    void setTabOrder();
    void createActions(QMainWindow *window);
    void createForm();
    void createFields();
    void createPermissionHeaders();
    void createMenus(QMainWindow *window);
    QLabel *addLabel(const char *name, int x, int y, int w, int h);
    void addLineEdit(int index, int x, int y, int w, int h, bool courierFont);
    void addFieldLabel(const char *name);
    void addCheckBox(int index);
};

} // namespace Ui
