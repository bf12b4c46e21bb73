#include "app/fontconfigwarmup.h"
#include "app/mainwindow.h"
#include "app/screenshot.h"

#include "transfer/exchangelog.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavir340"));
    QApplication::setApplicationVersion(QStringLiteral(TAVIR340_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tavir-340 letöltő szoftver: configures a Tavir-340 GSM module "
                                                    "over a serial port."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Write every byte on the line to <file>."),
                                 QStringLiteral("file"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window to <file> once it is drawn, then quit."),
                                        QStringLiteral("file"));
    parser.addOptions({log, screenshot});
    parser.process(app);
    if (parser.isSet(log)) {
        QString error;
        if (!ExchangeLog::start(parser.value(log), &error)) {
            std::fprintf(stderr, "tavir340: cannot write the log %s: %s\n", qPrintable(parser.value(log)), qPrintable(error));
            return 2;
        }
    }

    fonts.wait();
    MainWindow window;
    if (parser.isSet(screenshot))
        saveScreenshotOnFirstPaint(&window, parser.value(screenshot));
    window.show();
    return app.exec();
}
