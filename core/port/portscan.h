#pragma once

#include "exclusiveport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The serial ports a technician can choose: "COM1" … "COM31" (the built-in
// ports /dev/ttyS0 … /dev/ttyS30), tried by opening them as the port dialog
// always has, then every USB and ACM adapter, found in sysfs and never
// opened (opening one raises DTR and RTS, and some adapters reset).

// Where the devices are described and how each kind is looked at; tests
// point all of it elsewhere.
struct DeviceLookup
{
    QString deviceDir = QStringLiteral("/dev");
    QString sysfsDir = QStringLiteral("/sys");
    std::function<SerialDevice::PortState(const QString &path)> probe = SerialDevice::probe;
    std::function<SerialDevice::PortState(const QString &path)> inspect = SerialDevice::inspect;
};

struct PortEntry
{
    QString name;     // as the port setting stores it: "COM3", "ttyUSB0", or the adapter's by-id link
    QString device;   // "/dev/ttyUSB0"
    QString byId;     // its /dev/serial/by-id link, where there is one
    QString maker;    // of a USB adapter, from sysfs
    QString product;
    QString serial;
    SerialDevice::PortState state;
};

inline constexpr int ComPortCount = 31;

// Every port that exists, free or not, built-in ports first, adapters in
// natural order (ttyACM before ttyUSB, ttyUSB2 before ttyUSB10).
QList<PortEntry> listPorts(const DeviceLookup &lookup = {});

// The by-id name, maker, product and serial number of the USB adapter
// behind a device, from sysfs; empty for anything else. Nothing is opened.
PortEntry describeAdapter(const QString &device, const DeviceLookup &lookup = {});

// "FTDI FT232R USB UART (A12345)": what an adapter is, for a tooltip or a
// listing; empty for a built-in port.
QString adapterDescription(const PortEntry &entry);
