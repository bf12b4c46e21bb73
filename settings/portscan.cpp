#include "portscan.h"

#include <QDir>
#include <QRegularExpression>

namespace {

// ttyACM before ttyUSB, and ttyUSB2 before ttyUSB10.
bool isBefore(const QString &a, const QString &b)
{
    static const QRegularExpression split(QStringLiteral("^(.*?)(\\d*)$"));
    const QRegularExpressionMatch ma = split.match(a);
    const QRegularExpressionMatch mb = split.match(b);
    if (ma.captured(1) != mb.captured(1))
        return ma.captured(1) < mb.captured(1);
    return ma.captured(2).toLongLong() < mb.captured(2).toLongLong();
}

} // namespace

PortScan scanPorts(const DeviceLookup &lookup)
{
    PortScan scan;
    auto consider = [&](const QString &name, const QString &path) {
        const SerialDevice::PortState state = lookup.probe(path);
        switch (state.access) {
        case SerialDevice::Access::Free:
            scan.ports.append(name);
            break;
        case SerialDevice::Access::NoPermission:
            if (scan.deniedPort.isEmpty()) {
                scan.deniedPort = name;
                scan.deniedGroup = SerialDevice::owningGroup(path);
            }
            break;
        case SerialDevice::Access::Busy:
            scan.busy.append(SerialDevice::describe(state));
            break;
        case SerialDevice::Access::Missing:
            break;
        }
    };

    for (int n = 1; n <= ComPortCount; ++n)
        consider(QStringLiteral("COM%1").arg(n), QStringLiteral("%1/ttyS%2").arg(lookup.deviceDir).arg(n - 1));

    QStringList adapters = QDir(lookup.deviceDir)
                               .entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                          QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    std::sort(adapters.begin(), adapters.end(), isBefore);
    for (const QString &adapter : adapters)
        consider(adapter, lookup.deviceDir + QLatin1Char('/') + adapter);
    return scan;
}
