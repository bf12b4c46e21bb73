#pragma once

#include "core/content/manifest.h"
#include "core/provisioning/unitstatus.h"

#include <QList>
#include <QString>

// What a barcode scanner typed at the bench: a unit of the manifest (the
// module's own barcode), a printed label's QR code, or neither. A scanner
// set up for a US keyboard types other characters on a Hungarian layout
// (é for ;, ó for =, ü for -, ö for 0, z and y swapped); a code that reads
// as nothing as typed is read once more as the US keys that made it.
struct ScannedCode
{
    enum class Kind { Unit, Label, Unknown };
    Kind kind = Kind::Unknown;
    int unit = -1;      // Unit: its index in the manifest
    qint64 entry = 0;   // Label: the journal entry it names
    QString unitName;   // Label: the unit it names
    QString hash;       // Label: the start of the record's SHA-256
};

ScannedCode readScannedCode(const QString &typed, const QList<ManifestUnit> &units);

// Whether a scanned unit may be taken next, and why not.
enum class ScanRefusal { None, Done, Claimed };
ScanRefusal judgeScannedUnit(const UnitStatus &status);
