#include "portscan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine(256)).trimmed();
}

// The adapters the kernel knows, by their names under /dev.
QStringList adapterNames(const DeviceLookup &lookup)
{
    const QStringList patterns = {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")};
    QStringList names = QDir(lookup.sysfsDir + QStringLiteral("/class/tty")).entryList(patterns, QDir::AllEntries | QDir::NoDotAndDotDot);
    if (names.isEmpty())  // no sysfs here: what /dev shows
        names = QDir(lookup.deviceDir).entryList(patterns, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), isBefore);
    return names;
}

// Maker, product and serial number of the USB device above the adapter's
// interface, read from sysfs.
void readUsbDescription(const DeviceLookup &lookup, const QString &name, PortEntry *entry)
{
    const QString root = QFileInfo(lookup.sysfsDir).canonicalFilePath();
    QString dir = QFileInfo(lookup.sysfsDir + QStringLiteral("/class/tty/") + name + QStringLiteral("/device")).canonicalFilePath();
    while (!dir.isEmpty() && dir.startsWith(root) && dir != root) {
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))) {
            entry->maker = firstLine(dir + QStringLiteral("/manufacturer"));
            entry->product = firstLine(dir + QStringLiteral("/product"));
            entry->serial = firstLine(dir + QStringLiteral("/serial"));
            return;
        }
        dir = QFileInfo(dir).path();
    }
}

// The /dev/serial/by-id links, by the device each leads to.
QHash<QString, QString> byIdLinks(const DeviceLookup &lookup)
{
    QHash<QString, QString> links;
    const QDir byId(lookup.deviceDir + QStringLiteral("/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !links.contains(target))
            links.insert(target, link.absoluteFilePath());
    }
    return links;
}

} // namespace

QList<PortEntry> listPorts(const DeviceLookup &lookup)
{
    QList<PortEntry> entries;
    for (int n = 1; n <= ComPortCount; ++n) {
        PortEntry entry;
        entry.name = QStringLiteral("COM%1").arg(n);
        entry.device = QStringLiteral("%1/ttyS%2").arg(lookup.deviceDir).arg(n - 1);
        entry.state = lookup.probe(entry.device);
        if (entry.state.access != SerialDevice::Access::Missing)
            entries.append(entry);
    }

    const QHash<QString, QString> links = byIdLinks(lookup);
    for (const QString &name : adapterNames(lookup)) {
        PortEntry entry;
        entry.device = lookup.deviceDir + QLatin1Char('/') + name;
        if (!QFileInfo::exists(entry.device))
            continue;
        entry.byId = links.value(QFileInfo(entry.device).canonicalFilePath());
        entry.name = entry.byId.isEmpty() ? name : entry.byId;
        readUsbDescription(lookup, name, &entry);
        entry.state = lookup.inspect(entry.device);
        entries.append(entry);
    }
    return entries;
}

PortEntry describeAdapter(const QString &device, const DeviceLookup &lookup)
{
    PortEntry entry;
    entry.device = device;
    const QString real = QFileInfo(device).canonicalFilePath();
    if (real.isEmpty())
        return entry;
    for (const QString &name : adapterNames(lookup)) {
        if (QFileInfo(lookup.deviceDir + QLatin1Char('/') + name).canonicalFilePath() != real)
            continue;
        entry.byId = byIdLinks(lookup).value(real);
        readUsbDescription(lookup, name, &entry);
        break;
    }
    return entry;
}

QString adapterDescription(const PortEntry &entry)
{
    QString text = QStringList({entry.maker, entry.product}).join(QLatin1Char(' ')).trimmed();
    if (!entry.serial.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(%1)").arg(entry.serial);
    return text;
}
