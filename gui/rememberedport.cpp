#include "rememberedport.h"

#include <QSettings>

namespace {

const QString Key = QStringLiteral("port/last");

QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tavir340"), QStringLiteral("tavir340"));
}

} // namespace

namespace RememberedPort {

QString load()
{
    return userSettings().value(Key).toString();
}

void save(const QString &port)
{
    if (port.isEmpty())
        return;
    userSettings().setValue(Key, port);
}

} // namespace RememberedPort
