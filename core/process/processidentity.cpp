#include "processidentity.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

namespace {

QByteArray readSmall(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

QString currentBootId()
{
    static const QString id = QString::fromLatin1(readSmall(QStringLiteral("/proc/sys/kernel/random/boot_id")).trimmed());
    return id;
}

} // namespace

QString processStart(qint64 pid)
{
    // The command name in parentheses may hold blanks and parentheses of its
    // own; the fields after its last ")" are plain. The start time is field 22.
    const QByteArray stat = readSmall(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
}

ProcessIdentity ProcessIdentity::self()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return {stationName(), pid, processStart(pid), currentBootId()};
}

bool ProcessIdentity::provablyGone() const
{
    if (station != stationName() || bootId.isEmpty() || bootId != currentBootId())
        return false;
    return processStart(pid) != start;
}

QString stationName()
{
    return QSysInfo::machineHostName();
}
