#include "contentrecord.h"

#include <QDebug>
#include <QMap>

#include <cstdint>

unsigned char recordByte(QChar c)
{
    return c.unicode() <= 0xFF ? static_cast<unsigned char>(c.unicode()) : 0;
}

namespace {

// The module stores 7-bit text and the currency sign; everything else, a NUL
// included, is refused.
bool isStorable(QChar c)
{
    const unsigned char byte = recordByte(c);
    return static_cast<signed char>(byte) > 0 || byte == 0xA4;
}

// Group number -> value, where each checked box adds its bit to its group.
QMap<int, int> permissionGroups(const FormValues &form)
{
    QMap<int, int> groups;
    for (qsizetype k = 0; k < form.groups.size(); ++k) {
        const QStringList parts = form.groups[k].split(QLatin1Char('.'));
        bool groupOk = false, bitOk = false;
        const int group = parts.first().toInt(&groupOk, 10);
        const int bit = parts.last().toInt(&bitOk, 10);
        if (!groupOk || !bitOk || bit < 1 || bit > 30) {
            qDebug("toInt error.");
            continue;
        }
        int &value = groups[group];
        if (k < form.checked.size() && form.checked[k])
            value += 1 << (bit - 1);
    }
    return groups;
}

QString checksumSuffix(const QString &record, char checkSize)
{
    std::int64_t sum = 0;
    for (QChar c : record)
        sum += static_cast<signed char>(recordByte(c));
    switch (checkSize) {
    case 0: return QString::number(sum % 8);
    case 1: return QString::number(sum % 16);
    case 2: return QString::number(sum % 24);
    case 3: return QString::number(sum % 32);
    default: return settingChar(checkSize);
    }
}

} // namespace

RecordResult buildContentRecord(const FormValues &form, LinkSettings &settings,
                                RecordPurpose purpose)
{
    const bool download = purpose == RecordPurpose::Download;
    const QChar separator = settingChar(settings.DownloadSeparator);
    settings.RecordText.clear();

    const QMap<int, int> groups = permissionGroups(form);
    const qsizetype fieldCount = std::max<qsizetype>(form.texts.size() - TelephoneCount, 0);

    QString record;
    for (qsizetype i = 0; i < fieldCount; ++i) {
        QString text = form.texts[i];
        const QString name = i < lineEditCatalogue().size() ? lineEditCatalogue()[i].name : QString();
        if (download && text.isEmpty() && i < RequiredFieldCount) {
            qDebug().noquote() << name;
            return {RecordError::MissingField, name};
        }
        if (name == QLatin1String("rele_time"))
            text = text.rightJustified(4, QLatin1Char('0'));
        record += text.leftJustified(RecordItemWidth) + separator;
    }

    for (QChar c : std::as_const(record)) {
        if (!isStorable(c)) {
            settings.RecordText = record;
            return {RecordError::AccentedCharacter, {}};
        }
    }

    for (qsizetype n = 1; fieldCount + n - 1 < form.texts.size(); ++n) {
        const int alarm = groups.value(int(2 * n - 1), 0);
        const int control = groups.value(int(2 * n), 0);
        const QString item = QString::number(alarm) + QString::number(control)
                           + form.texts[fieldCount + n - 1];
        record += item.leftJustified(RecordItemWidth) + separator;
    }

    if (download) {
        record.chop(1);
        if (settings.CheckValue >= 1)
            record += checksumSuffix(record, settings.CheckSize);
        // Every separator cuts a piece on the line; one inside a text would
        // shift every later field in the module.
        if (record.count(separator) != form.texts.size() - 1)
            return {RecordError::SeparatorInText, {}};
    }

    settings.RecordText = record;
    return {};
}
