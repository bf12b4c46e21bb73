#include "fontconfigwarmup.h"
#include "language.h"
#include "mainwindow.h"
#include "screenshot.h"

#include "gui/form/windowtexts.h"
#include "core/journal/journallocation.h"
#include "core/link/exchangelog.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavir340"));
    QApplication::setApplicationVersion(QStringLiteral(TAVIR340_VERSION));
    Language::install(Language::requested());

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
    const QCommandLineOption journal(QStringLiteral("journal"),
                                     QStringLiteral("Keep the journal in <dest>: a file, or a postgresql:// address "
                                                    "(default: $TAVIR340_JOURNAL, else ~/.local/state/tavir340/journal.sqlite)."),
                                     QStringLiteral("dest"));
    const QCommandLineOption noJournal(QStringLiteral("no-journal"), QStringLiteral("Keep no journal."));
    parser.addOptions({log, screenshot, journal, noJournal});
    parser.process(app);
    if (parser.isSet(log)) {
        if (const FileError error = ExchangeLog::start(parser.value(log))) {
            std::fprintf(stderr, "tavir340: cannot write the log %s: %s\n", qPrintable(parser.value(log)),
                         qPrintable(WindowText::fileError(error)));
            return 2;
        }
    }

    fonts.wait();
    int code = 0;
    {
        MainWindow window;
        window.setJournalLocation(journalLocation(parser.value(journal), parser.isSet(noJournal)));
        if (parser.isSet(screenshot))
            saveScreenshotOnFirstPaint(&window, parser.value(screenshot));
        window.show();
        code = app.exec();
    }
    if (const FileError error = ExchangeLog::stop()) {
        std::fprintf(stderr, "tavir340: cannot write the log %s: %s\n", qPrintable(parser.value(log)),
                     qPrintable(WindowText::fileError(error)));
        return code == 0 ? 1 : code;
    }
    return code;
}
