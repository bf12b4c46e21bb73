#include "app/fontconfigwarmup.h"
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    fonts.wait();
    MainWindow window;
    window.show();
    return app.exec();
}
