// The program's own start-up, up to its first painted window.
#include "app/mainwindow.h"
#include "firstpaint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindow window;
    FirstPaint probe(&window);
    window.show();
    return app.exec();
}
