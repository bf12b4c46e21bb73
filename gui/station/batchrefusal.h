#pragma once

#include <QString>

class QWidget;
struct JournalLocation;
struct LinkSettings;
struct OpenedBatch;

// A box that says why a batch did not open, every bad cell of a manifest
// named; false, with no box, when it did open.
bool sayWhyNotOpened(QWidget *station, const OpenedBatch &opened, const QString &manifestPath, const QString &backupFolder,
                     const LinkSettings &settings, const JournalLocation &location);
