#pragma once

#include <QString>

// What a port name stands for on this machine. A name registered as an alias
// stands for its path; "COMn" is /dev/ttyS<n-1>; a name with "/" is a path;
// anything else is a device under /dev. Safe from any thread.
namespace SerialDevice {

QString devicePath(const QString &port);
void registerAlias(const QString &name, const QString &path);
void unregisterAlias(const QString &name);

// The device itself, with links resolved; the path as given when it does
// not exist.
QString realDevice(const QString &path);
// Whether two port names stand for one device: the same name, or the same
// device once links are resolved.
bool sameDevice(const QString &first, const QString &second);
// "ttyUSB0" for /dev/ttyUSB0, "pts/3" for /dev/pts/3: how a device is named
// to a person.
QString shortName(const QString &device);
// Whether a device is a USB serial adapter by its name (ttyUSB…, ttyACM…,
// or a /dev/serial/by-id link): one that can be pulled out.
bool isUsbAdapterName(const QString &device);
// Whether a port remembered from an earlier session may be opened again
// without the technician choosing it: a serial device (a link to one
// included), or a pseudo-terminal of the user running the program (the
// simulator's). Another user's pseudo-terminal would hand her what is sent.
bool isOwnOrSerialDevice(const QString &port);
// A device path as one file name: "ttyUSB0", "pts_3", with "/" below /dev
// turned into "_".
QString flatName(const QString &path);

} // namespace SerialDevice
