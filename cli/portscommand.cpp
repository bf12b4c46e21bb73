#include "commands.h"

#include "settings/portscan.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

QString PortsCommand::summary() const
{
    return QStringLiteral("List the serial ports the window offers, with their state.");
}

void PortsCommand::configure(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("json"), QStringLiteral("One JSON object per port.")});
}

namespace {

QString stateText(const SerialDevice::PortState &state)
{
    switch (state.access) {
    case SerialDevice::Access::Free:
        return QStringLiteral("free");
    case SerialDevice::Access::NoPermission:
        return QStringLiteral("no permission (group %1)").arg(state.group);
    case SerialDevice::Access::Busy: {
        QString holder;
        if (state.holder)
            holder = state.holder->program.isEmpty() ? QString::number(state.holder->pid)
                                                     : QStringLiteral("%1, %2").arg(state.holder->program).arg(state.holder->pid);
        else if (!state.lockFile.isEmpty())
            holder = QStringLiteral("lock file %1").arg(state.lockFile);
        return holder.isEmpty() ? QStringLiteral("busy") : QStringLiteral("busy (%1)").arg(holder);
    }
    case SerialDevice::Access::Missing:
        return QStringLiteral("missing");
    }
    return {};
}

} // namespace

int PortsCommand::execute(QCommandLineParser &)
{
    // Tab-separated for scripts: name, device, by-id link, maker, product,
    // serial number, state.
    for (const PortEntry &entry : listPorts()) {
        QByteArray line;
        if (json()) {
            QJsonObject object{{QStringLiteral("name"), entry.name},
                               {QStringLiteral("device"), entry.device},
                               {QStringLiteral("state"), stateText(entry.state)}};
            const struct { const char *key; QString value; } optional[] = {
                {"byId", entry.byId}, {"maker", entry.maker}, {"product", entry.product}, {"serial", entry.serial}};
            for (const auto &field : optional)
                if (!field.value.isEmpty())
                    object.insert(QLatin1String(field.key), field.value);
            line = QJsonDocument(object).toJson(QJsonDocument::Compact);
        } else {
            line = QStringList({entry.name, entry.device, entry.byId, entry.maker, entry.product, entry.serial,
                                stateText(entry.state)})
                       .join(QLatin1Char('\t'))
                       .toLocal8Bit();
        }
        line += '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    }
    std::fflush(stdout);
    return Success;
}
