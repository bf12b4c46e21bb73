#pragma once

#include <QString>

// A unit's or a port's name as part of a file name: letters, digits, ".",
// "-" and "_" as they are, anything else "_"; a port by its device's short
// name ("/dev/ttyUSB0": "ttyUSB0", "/dev/serial/by-id/x": "serial_by-id_x").
QString fileNamePart(const QString &name);
