#include "portname.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <QFile>

#include <mutex>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace SerialDevice {

namespace {

std::mutex aliasMutex;
QHash<QString, QString> &aliases()
{
    static QHash<QString, QString> table;
    return table;
}

} // namespace

QString devicePath(const QString &port)
{
    {
        const std::lock_guard lock(aliasMutex);
        if (const auto alias = aliases().constFind(port); alias != aliases().cend())
            return *alias;
    }
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]{0,5})$"));
    if (const QRegularExpressionMatch m = comName.match(port); m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (port.contains(QLatin1Char('/')))
        return port;
    return QStringLiteral("/dev/") + port;
}

void registerAlias(const QString &name, const QString &path)
{
    const std::lock_guard lock(aliasMutex);
    aliases().insert(name, path);
}

void unregisterAlias(const QString &name)
{
    const std::lock_guard lock(aliasMutex);
    aliases().remove(name);
}

QString realDevice(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString shortName(const QString &device)
{
    return device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
}

bool isUsbAdapterName(const QString &device)
{
    const QString name = shortName(device).section(QLatin1Char('/'), -1);
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"))
        || device.contains(QLatin1String("/serial/by-id/"));
}

QString flatName(const QString &path)
{
    QString name = shortName(path);
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

bool sameDevice(const QString &first, const QString &second)
{
    return first == second || realDevice(devicePath(first)) == realDevice(devicePath(second));
}

bool isOwnOrSerialDevice(const QString &port)
{
    constexpr unsigned FirstPtsMajor = 136;  // Unix98 pseudo-terminals: majors 136 to 143
    constexpr unsigned LastPtsMajor = 143;
    struct stat info {};
    if (::stat(QFile::encodeName(devicePath(port)).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned major = ::major(info.st_rdev);
    return major < FirstPtsMajor || major > LastPtsMajor || info.st_uid == ::geteuid();
}

} // namespace SerialDevice
