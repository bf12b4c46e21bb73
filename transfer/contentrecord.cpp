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

} // namespace

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

bool isControlCode(QChar c)
{
    return c.unicode() < 32 || c.unicode() == 127;
}

RecordResult buildContentRecord(const FormValues &form, LinkSettings &settings,
                                RecordPurpose purpose)
{
    const bool download = purpose == RecordPurpose::Download;
    const QChar separator = settingChar(settings.DownloadSeparator);
    settings.RecordText.clear();

    const QMap<int, int> groups = permissionGroups(form);
    const qsizetype fieldCount = std::max<qsizetype>(form.texts.size() - TelephoneCount, 0);

    QStringList items;
    for (qsizetype i = 0; i < fieldCount; ++i) {
        QString text = form.texts[i];
        const QString name = i < lineEditCatalogue().size() ? lineEditCatalogue()[i].name : QString();
        if (download && text.isEmpty() && i < RequiredFieldCount) {
            qDebug().noquote() << name;
            return {RecordError::MissingField, name, int(i)};
        }
        if (name == QLatin1String("rele_time"))
            text = text.rightJustified(4, QLatin1Char('0'));
        items.append(text.leftJustified(RecordItemWidth));
    }

    const QString fieldPart = items.join(separator) + separator;
    if (!std::all_of(fieldPart.begin(), fieldPart.end(), isStorable)) {
        settings.RecordText = fieldPart;
        return {RecordError::AccentedCharacter, {}, -1};
    }

    for (qsizetype n = 1; fieldCount + n - 1 < form.texts.size(); ++n) {
        const int alarm = groups.value(int(2 * n - 1), 0);
        const int control = groups.value(int(2 * n), 0);
        const QString item = QString::number(alarm) + QString::number(control)
                           + form.texts[fieldCount + n - 1];
        items.append(item.leftJustified(RecordItemWidth));
    }
    QString record = items.join(separator) + separator;

    // A control code anywhere, the hidden fields included, would reach the
    // module as a field end or as a byte it cannot show.
    for (qsizetype i = 0; i < form.texts.size(); ++i) {
        if (std::any_of(form.texts[i].begin(), form.texts[i].end(), isControlCode)) {
            if (!download) {
                settings.RecordText = record;
                return {RecordError::AccentedCharacter, {}, int(i)};
            }
            return {RecordError::ControlCharacter, {}, int(i)};
        }
    }

    if (download) {
        record.chop(1);
        if (settings.CheckValue >= 1) {
            const QString suffix = checksumSuffix(record, settings.CheckSize);
            if (std::any_of(suffix.begin(), suffix.end(), isControlCode))
                return {RecordError::ControlCharacter, {}, -1};
            record += suffix;
        }
        // Every separator cuts a piece on the line; one inside a text would
        // shift every later field in the module.
        if (record.count(separator) != items.size() - 1) {
            const auto holder = std::find_if(items.cbegin(), items.cend(),
                                             [separator](const QString &item) { return item.contains(separator); });
            return {RecordError::SeparatorInText, {}, holder == items.cend() ? -1 : int(holder - items.cbegin())};
        }
    }

    settings.RecordText = record;
    return {};
}

QString downloadRefusal(const RecordResult &result, char separator)
{
    const QString field = result.field >= 0 ? fieldTitle(result.field) : QString();
    switch (result.error) {
    case RecordError::None:
        return {};
    case RecordError::MissingField:
        return QStringLiteral("Az összes mező kitöltése kötelező.");
    case RecordError::AccentedCharacter:
        return QStringLiteral("Ékezetes karakterek nem használhatóak.");
    case RecordError::SeparatorInText:
        if (field.isEmpty())
            return QStringLiteral("A mezők nem tartalmazhatják az elválasztó karaktert (%1).").arg(settingChar(separator));
        return QStringLiteral("A(z) „%1” mező nem tartalmazhatja az elválasztó karaktert (%2).")
            .arg(field, settingChar(separator));
    case RecordError::ControlCharacter:
        if (field.isEmpty())
            return QStringLiteral("Az ellenőrző karakter nem lehet vezérlőkarakter.");
        return QStringLiteral("A(z) „%1” mező vezérlőkaraktert (például sortörést) tartalmaz.").arg(field);
    }
    return {};
}
