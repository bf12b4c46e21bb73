#include "language.h"

#include "core/content/datafiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace Language {

namespace {

std::vector<std::unique_ptr<QTranslator>> &installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

QLocale &spoken()
{
    static QLocale locale(QLocale::Hungarian, QLocale::Hungary);
    return locale;
}

bool isPlainC(const QString &locale)
{
    return locale.isEmpty() || locale == QLatin1String("C") || locale.startsWith(QLatin1String("C."))
        || locale == QLatin1String("POSIX");
}

bool add(const QString &name, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed().push_back(std::move(translator));
    return true;
}

} // namespace

QString requested()
{
    QString locale;
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty())
            break;
    }
    // LANGUAGE, where it is set, names the language itself.
    const QString language = qEnvironmentVariable("LANGUAGE").section(QLatin1Char(':'), 0, 0);
    if (!language.isEmpty())
        return language;
    return isPlainC(locale) ? QString() : locale.section(QLatin1Char('.'), 0, 0);
}

bool install(const QString &language)
{
    for (const std::unique_ptr<QTranslator> &translator : installed())
        QCoreApplication::removeTranslator(translator.get());
    installed().clear();
    spoken() = QLocale(QLocale::Hungarian, QLocale::Hungary);
    if (isPlainC(language))
        return false;
    const QString code = language.section(QLatin1Char('_'), 0, 0);
    add(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (code == QLatin1String("hu"))
        return false;
    if (!add(QStringLiteral("tavir340_en"), QFileInfo(dataFilePath(QStringLiteral("translations/tavir340_en.qm"))).path()))
        return false;
    // English as the desktop writes it where it asks for English (en_US's
    // dates), else as in Britain.
    const QLocale asked(language);
    spoken() = asked.language() == QLocale::English ? asked : QLocale(QLocale::English, QLocale::UnitedKingdom);
    return true;
}

QLocale locale()
{
    return spoken();
}

} // namespace Language
