#pragma once

#include <QLocale>
#include <QString>

// The window's language. Hungarian, the program's own, when the system asks
// for Hungarian or for nothing at all (C, POSIX); English for any other
// language. Qt's own texts (standard buttons, the file dialog) follow the
// system's language wherever Qt has them.
namespace Language {

// What the environment asks for: LANGUAGE's first entry, else LC_ALL,
// LC_MESSAGES, LANG. Empty for C, POSIX or nothing.
QString requested();

// Installs the translations for `language` ("hu", "en_GB", …, or empty),
// in place of any installed before. Whether the window now speaks English
// (false as well where the English translation is missing).
bool install(const QString &language);

// The locale of what was installed, for dates and numbers written in the
// same language as the words around them.
QLocale locale();

} // namespace Language
