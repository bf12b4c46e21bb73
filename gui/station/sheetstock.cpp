#include "sheetstock.h"

#include "gui/usersettings.h"

#include <QVariantMap>

namespace {

const QString WaitingKey = QStringLiteral("station/sheetWaiting");
const QString FirstPlaceKey = QStringLiteral("station/sheetFirstPlace");

QVariantMap toMap(const LabelContent &label)
{
    return {{QStringLiteral("unit"), label.unit},
            {QStringLiteral("moduleId"), label.moduleId},
            {QStringLiteral("moduleName"), label.moduleName},
            {QStringLiteral("station"), label.station},
            {QStringLiteral("entry"), label.entry},
            {QStringLiteral("provenMs"), label.provenMs},
            {QStringLiteral("recordSha256"), label.recordSha256},
            {QStringLiteral("tile"), label.tile},
            {QStringLiteral("port"), label.port}};
}

LabelContent fromMap(const QVariantMap &map)
{
    LabelContent label;
    label.unit = map.value(QStringLiteral("unit")).toString();
    label.moduleId = map.value(QStringLiteral("moduleId")).toString();
    label.moduleName = map.value(QStringLiteral("moduleName")).toString();
    label.station = map.value(QStringLiteral("station")).toString();
    label.entry = map.value(QStringLiteral("entry")).toLongLong();
    label.provenMs = map.value(QStringLiteral("provenMs")).toLongLong();
    label.recordSha256 = map.value(QStringLiteral("recordSha256")).toString();
    label.tile = map.value(QStringLiteral("tile")).toInt();
    label.port = map.value(QStringLiteral("port")).toString();
    return label;
}

} // namespace

SheetStock::SheetStock()
{
    UserSettings settings;
    for (const QVariant &kept : settings->value(WaitingKey).toList())
        m_waiting.append(fromMap(kept.toMap()));
    m_firstPlace = std::max(0, settings->value(FirstPlaceKey).toInt());
}

void SheetStock::add(const LabelContent &label)
{
    m_waiting.append(label);
    save();
}

void SheetStock::setFirstPlace(int place)
{
    m_firstPlace = std::max(0, place);
    save();
}

void SheetStock::printed(int perPage)
{
    const int next = nextPlace();
    m_waiting.clear();
    m_firstPlace = next >= perPage ? 0 : next;
    save();
}

void SheetStock::save() const
{
    QVariantList waiting;
    for (const LabelContent &label : m_waiting)
        waiting.append(toMap(label));
    UserSettings settings;
    settings->setValue(WaitingKey, waiting);
    settings->setValue(FirstPlaceKey, m_firstPlace);
}
