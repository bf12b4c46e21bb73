#include "stationchoices.h"

#include "gui/usersettings.h"

StationChoices StationChoices::load()
{
    UserSettings settings;
    settings->beginGroup(QStringLiteral("station"));
    StationChoices c;
    c.manifest = settings->value(QStringLiteral("manifest")).toString();
    c.ports = settings->value(QStringLiteral("ports")).toStringList();
    c.backupFolder = settings->value(QStringLiteral("backupFolder")).toString();
    c.fresh = settings->value(QStringLiteral("fresh"), c.fresh).toBool();
    c.autoLabels = settings->value(QStringLiteral("autoLabels"), c.autoLabels).toBool();
    c.labelSize = settings->value(QStringLiteral("labelSize")).toString();
    c.labelFolder = settings->value(QStringLiteral("labelFolder")).toString();
    c.printer = settings->value(QStringLiteral("printer")).toString();
    c.sound = settings->value(QStringLiteral("sound"), c.sound).toBool();
    c.attention = settings->value(QStringLiteral("attention"), c.attention).toBool();
    c.titleCount = settings->value(QStringLiteral("titleCount"), c.titleCount).toBool();
    return c;
}

void StationChoices::save() const
{
    UserSettings settings;
    settings->beginGroup(QStringLiteral("station"));
    settings->setValue(QStringLiteral("manifest"), manifest);
    settings->setValue(QStringLiteral("ports"), ports);
    settings->setValue(QStringLiteral("backupFolder"), backupFolder);
    settings->setValue(QStringLiteral("fresh"), fresh);
    settings->setValue(QStringLiteral("autoLabels"), autoLabels);
    settings->setValue(QStringLiteral("labelSize"), labelSize);
    settings->setValue(QStringLiteral("labelFolder"), labelFolder);
    settings->setValue(QStringLiteral("printer"), printer);
    settings->setValue(QStringLiteral("sound"), sound);
    settings->setValue(QStringLiteral("attention"), attention);
    settings->setValue(QStringLiteral("titleCount"), titleCount);
}
