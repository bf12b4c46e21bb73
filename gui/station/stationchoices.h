#pragma once

#include <QString>
#include <QStringList>

// The station's set-up as the technician last chose it, kept per user beside
// the window's remembered port ($XDG_CONFIG_HOME/tavir340/tavir340.ini), so
// that the next batch starts from it.
struct StationChoices
{
    QString manifest;
    QStringList ports;
    QString backupFolder;
    bool fresh = false;  // new modules: no backup
    bool autoLabels = false;
    QString labelSize;
    QString labelFolder;  // empty: the default
    QString printer;      // empty: labels go to PDF files
    bool sound = true;
    bool attention = true;
    bool titleCount = true;

    static StationChoices load();
    void save() const;
};
