#include "rememberedport.h"

#include "usersettings.h"

#include "core/port/portname.h"

namespace {

const QString Key = QStringLiteral("port/last");


} // namespace

namespace RememberedPort {

QString load()
{
    const QString port = UserSettings()->value(Key).toString();
    return SerialDevice::isOwnOrSerialDevice(port) ? port : QString();
}

void save(const QString &port)
{
    if (port.isEmpty())
        return;
    UserSettings()->setValue(Key, port);
}

} // namespace RememberedPort
