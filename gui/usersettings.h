#pragma once

#include <QSettings>

// What the program keeps per user ($XDG_CONFIG_HOME/tavir340/tavir340.ini):
// the port used last, the recent files, the station's set-up.
inline QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tavir340"), QStringLiteral("tavir340"));
}
