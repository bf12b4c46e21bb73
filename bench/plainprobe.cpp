// A reference for the start-up figures: a plain window of the form's size with
// as many stock widgets of each kind, in the default font, without pictures,
// style sheets or anything of the program behind them.
#include "firstpaint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setFixedSize(920, 507);
    auto *form = new QWidget(&window);
    for (int i = 0; i < 44; ++i)
        (new QLineEdit(form))->setGeometry(i < 16 ? 160 : 530, 10 + 25 * (i % 16), 105, 20);
    for (int i = 0; i < 64; ++i)
        (new QCheckBox(form))->setGeometry(420 + 20 * (i % 4), 55 + 25 * (i / 4), 16, 18);
    for (int i = 0; i < 37; ++i) {
        auto *label = new QLabel(QStringLiteral("Felirat %1:").arg(i), form);
        label->setGeometry(i < 19 ? 10 : 290, 10 + 25 * (i % 19), 150, 16);
    }
    (new QComboBox(form))->setGeometry(100, 10, 81, 22);
    window.setCentralWidget(form);
    for (const char *title : {"Fájl", "Beállítások", "Eszköz", "Súgó"})
        window.menuBar()->addMenu(QString::fromUtf8(title));
    for (const char *text : {"No file", "COM1", "Példa Elektronika Kft."})
        window.statusBar()->addWidget(new QLabel(QString::fromUtf8(text)), 1);
    FirstPaint probe(&window);
    window.show();
    return app.exec();
}
