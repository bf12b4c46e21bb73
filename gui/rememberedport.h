#pragma once

#include <QString>

// The port of the last session, kept per user in the desktop's configuration
// folder ($XDG_CONFIG_HOME/tavir340/tavir340.ini), so that the window starts
// on the adapter the technician used last. Only a serial device, or a
// pseudo-terminal of the user's own, is taken up again (see
// SerialDevice::isOwnOrSerialDevice).
namespace RememberedPort {

QString load();
void save(const QString &port);

} // namespace RememberedPort
