// The program's own start-up, up to its first painted window.
#include "gui/fontconfigwarmup.h"
#include "gui/mainwindow.h"
#include "firstpaint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    fonts.wait();
    MainWindow window;
    FirstPaint probe(&window);
    window.show();
    return app.exec();
}
