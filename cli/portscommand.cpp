#include "portscommand.h"

#include "phrases.h"
#include "standardoutput.h"
#include "core/port/portscan.h"

#include <QJsonDocument>
#include <QJsonObject>

QString PortsCommand::summary() const
{
    return QStringLiteral("List the serial ports the window offers, with their state.");
}

void PortsCommand::configure(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("json"), QStringLiteral("One JSON object per port.")});
}

int PortsCommand::execute(QCommandLineParser &)
{
    // Tab-separated for scripts: name, device, by-id link, maker, product,
    // serial number, state. What sysfs says is shown safely, so a tab or an
    // escape sequence in a maker's name cannot add a column or reach the
    // terminal.
    QByteArray out;
    for (const PortEntry &entry : listPorts()) {
        const QString state = Phrase::portState(entry.state);
        if (json()) {
            auto text = [](const QString &value) { return value.isEmpty() ? QJsonValue() : QJsonValue(value); };
            const QJsonObject object{{QStringLiteral("name"), entry.name},       {QStringLiteral("device"), entry.device},
                                     {QStringLiteral("byId"), text(entry.byId)}, {QStringLiteral("maker"), text(entry.maker)},
                                     {QStringLiteral("product"), text(entry.product)},
                                     {QStringLiteral("serial"), text(entry.serial)}, {QStringLiteral("state"), state}};
            out += QJsonDocument(object).toJson(QJsonDocument::Compact);
        } else {
            QStringList columns = {entry.name, entry.device, entry.byId, entry.maker, entry.product, entry.serial, state};
            for (QString &column : columns)
                column = Phrase::shown(column);
            out += columns.join(QLatin1Char('\t')).toLocal8Bit();
        }
        out += '\n';
    }
    return StandardOutput::write(out) ? Success : NotRecorded;
}
