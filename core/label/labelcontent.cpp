#include "labelcontent.h"

#include <QDateTime>

QString LabelContent::provenUtc() const
{
    return QDateTime::fromMSecsSinceEpoch(provenMs, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral(" UTC");
}

QByteArray LabelContent::qrPayload() const
{
    return QStringLiteral("T340;E=%1;U=%2;H=%3").arg(entry).arg(unit, shortHash()).toUtf8();
}

std::optional<LabelContent> labelFor(const JournalEntry &entry)
{
    if (entry.operation != JournalName::Provision || entry.result != JournalName::Ok || entry.unit.isEmpty())
        return std::nullopt;
    LabelContent label;
    label.unit = entry.unit;
    label.moduleId = entry.moduleId;
    label.moduleName = entry.moduleName;
    label.station = entry.station;
    label.entry = entry.id;
    label.provenMs = entry.endedMs.value_or(entry.startedMs);
    label.recordSha256 = entry.recordSha256;
    return label;
}
