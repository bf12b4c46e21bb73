#include "rememberedport.h"

#include "usersettings.h"

namespace {

const QString Key = QStringLiteral("port/last");


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
