#include "unitchoice.h"

#include "core/port/portname.h"

QList<QList<int>> chooseUnits(const QList<ManifestUnit> &units, const QStringList &ports, bool onlyOne)
{
    QList<QList<int>> candidates(ports.size());
    for (int u = 0; u < units.size(); ++u) {
        if (onlyOne && units[u].port.isEmpty()) {
            if (!candidates.isEmpty())
                candidates[0] << u;
            continue;
        }
        for (int p = 0; p < ports.size(); ++p) {
            if (!units[u].port.isEmpty() && SerialDevice::sameDevice(units[u].port, ports[p]))
                candidates[p] << u;
        }
    }
    if (!onlyOne) {
        for (QList<int> &list : candidates) {
            for (int u = 0; u < units.size(); ++u)
                if (units[u].port.isEmpty())
                    list << u;
        }
    }
    return candidates;
}

DoneUnits leaveOutDone(QList<QList<int>> &candidates, const QList<ManifestUnit> &units,
                       const QHash<QString, Journal::Proven> &proven, bool changedToo)
{
    DoneUnits found;
    for (QList<int> &list : candidates) {
        list.removeIf([&](int u) {
            const auto it = proven.constFind(units[u].unit);
            if (it == proven.cend())
                return false;
            const bool same = units[u].contentSha256 == it->contentSha256;
            if (same)
                found.done.insert(u, it->entry);
            else
                found.changed.insert(u, it->entry);
            return same || !changedToo;
        });
    }
    return found;
}
