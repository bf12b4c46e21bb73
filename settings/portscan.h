#pragma once

#include "settings/serialdevice.h"

#include <QString>
#include <QStringList>

#include <functional>

// Finds the serial ports a technician can choose: "COM1" … "COM31" (the
// built-in ports /dev/ttyS0 … /dev/ttyS30), then every USB and ACM adapter,
// each listed only when it can be opened right now.

// Where the devices are and how one is tried; tests point both elsewhere.
struct DeviceLookup
{
    QString deviceDir = QStringLiteral("/dev");
    std::function<SerialDevice::PortState(const QString &path)> probe = SerialDevice::probe;
};

struct PortScan
{
    QStringList ports;        // names as the port setting stores them
    QString deniedPort;       // the first port that exists but may not be opened
    QString deniedGroup;      // the group that owns it
    QStringList busy;         // why each busy port is, "ttyUSB0: foglalt (minicom, 4711)"
};

inline constexpr int ComPortCount = 31;

PortScan scanPorts(const DeviceLookup &lookup = {});
