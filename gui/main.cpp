#include "gui/rememberedport.h"
#include "fontconfigwarmup.h"
#include "labels/language.h"
#include "mainwindow.h"
#include "screenshot.h"

#include "gui/texts/windowtexts.h"
#include "core/journal/journallocation.h"
#include "core/link/exchangelog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLoggingCategory>

#include <cstdio>

namespace {

struct Options
{
    QCommandLineOption log{QStringLiteral("log"), QStringLiteral("Write every byte on the line to <file>."), QStringLiteral("file")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the window to <file> once it is drawn, then quit."),
                                  QStringLiteral("file")};
    QCommandLineOption journal{QStringLiteral("journal"),
                               QStringLiteral("Keep the journal in <dest>: a file, or a postgresql:// address "
                                              "(default: $TAVIR340_JOURNAL, else ~/.local/state/tavir340/journal.sqlite)."),
                               QStringLiteral("dest")};
    QCommandLineOption noJournal{QStringLiteral("no-journal"), QStringLiteral("Keep no journal.")};
};

void describe(QCommandLineParser &parser, const Options &options)
{
    QCoreApplication::setApplicationName(QStringLiteral("tavir340"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIR340_VERSION));
    parser.setApplicationDescription(QStringLiteral("Tavir-340 letöltő szoftver: configures a Tavir-340 GSM module "
                                                    "over a serial port."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({options.log, options.screenshot, options.journal, options.noJournal});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A content file (.t16) to open."), QStringLiteral("[file]"));
}

// --help and --version need no display: they are answered before the window
// would connect to one.
bool asksOnlyForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options;
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        describe(parser, options);
        parser.process(app);  // prints, and ends the program
        return 0;
    }
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    // The diagnostic lines (a refused field's name, "sep error", the port's
    // opening steps) are for whoever debugs, not for the terminal the window
    // was started from: QT_LOGGING_RULES="default.debug=true" shows them.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    Language::install(Language::requested());
    QCommandLineParser parser;
    describe(parser, options);
    parser.process(app);
    const QCommandLineOption &log = options.log;
    const QCommandLineOption &screenshot = options.screenshot;
    const QCommandLineOption &journal = options.journal;
    const QCommandLineOption &noJournal = options.noJournal;
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
        window.startOnPort(RememberedPort::load());
        if (parser.isSet(screenshot))
            saveScreenshotOnFirstPaint(&window, parser.value(screenshot));
        window.show();
        // Opened once the window is up, as if by File → Megnyitás.
        if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
            QMetaObject::invokeMethod(&window, [&window, file = files.constFirst()] { window.openPath(file); }, Qt::QueuedConnection);
        code = app.exec();
        RememberedPort::save(window.chosenPort());
    }
    if (const FileError error = ExchangeLog::stop()) {
        std::fprintf(stderr, "tavir340: cannot write the log %s: %s\n", qPrintable(parser.value(log)),
                     qPrintable(WindowText::fileError(error)));
        return code == 0 ? 1 : code;
    }
    return code;
}
