#pragma once

#include "core/journal/journalentry.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What the label of a proven unit says, from the journal entry that proved
// it: the unit, the module's identifier and name, when (UTC), where, the
// entry, and a QR code of the entry, the unit and the record's hash, so that
// a module in the field leads back to its journal entry.
struct LabelContent
{
    QString unit;
    QString moduleId;
    QString moduleName;
    QString station;
    qint64 entry = 0;
    qint64 provenMs = 0;
    QString recordSha256;
    // Where on a station's bench the module sits: its tile's number and its
    // port, so that a label finds its module; 0 and empty off a station.
    int tile = 0;
    QString port;

    // "2026-12-08 10:15 UTC".
    QString provenUtc() const;
    // The first 16 hex digits of the record's SHA-256.
    QString shortHash() const { return recordSha256.left(16); }
    // "T340;E=1234;U=gate-0041;H=0123456789abcdef".
    QByteArray qrPayload() const;
};

// Only a unit's provisioning that its verify proved makes a label.
std::optional<LabelContent> labelFor(const JournalEntry &entry);
