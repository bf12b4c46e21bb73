// A bare Qt Widgets window with one label, for comparison.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Tavir-340"));
    FirstPaint probe(&window);
    window.show();
    return app.exec();
}
