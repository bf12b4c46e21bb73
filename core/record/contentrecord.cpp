#include "contentrecord.h"

#include <QDebug>

#include <array>

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

// Why the bytes of `text` cannot go onto the line as the text stands.
RecordError byteProblem(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return RecordError::NotLatin1;
        if (isControlCode(recordByte(c)))
            return RecordError::ControlCharacter;
    }
    return RecordError::None;
}

// Group number -> value, where each checked box adds its bit to its group.
// Only the groups of the telephone items are looked up (1 … 32).
using PermissionGroups = std::array<int, 2 * TelephoneCount + 1>;

// Each box's group and bit as its "g.b" says. Every form of a run carries
// the same groups, so each thread keeps the last parse.
const QList<std::optional<PermissionBit>> &parsedGroups(const QStringList &groups)
{
    thread_local QStringList parsedFrom;
    thread_local QList<std::optional<PermissionBit>> parsed;
    if (parsedFrom != groups || parsed.size() != groups.size()) {
        parsed.clear();
        for (const QString &group : groups)
            parsed.append(permissionBit(group));
        parsedFrom = groups;
    }
    return parsed;
}

PermissionGroups permissionGroups(const FormValues &form)
{
    PermissionGroups groups{};
    const QList<std::optional<PermissionBit>> &boxes = parsedGroups(form.groups);
    for (qsizetype k = 0; k < boxes.size(); ++k) {
        const std::optional<PermissionBit> &box = boxes[k];
        if (!box) {
            qDebug("toInt error.");
            continue;
        }
        if (box->group >= 0 && box->group < int(groups.size()) && k < form.checked.size() && form.checked[k])
            groups[size_t(box->group)] += permissionMask(box->bit);
    }
    return groups;
}

QString fieldName(qsizetype i)
{
    return i < lineEditCatalogue().size() ? lineEditCatalogue()[i].name : QString();
}

} // namespace

QStringList recordItems(const FormValues &form)
{
    const PermissionGroups groups = permissionGroups(form);
    const qsizetype fieldCount = std::max<qsizetype>(form.texts.size() - TelephoneCount, 0);
    static const qsizetype relayTime = lineEditIndex(RelayTimeField);
    QStringList items;
    items.reserve(form.texts.size());
    for (qsizetype i = 0; i < form.texts.size(); ++i) {
        const QString text = i == relayTime ? relayTimeAsStored(form.texts[i]) : form.texts[i];
        // One string each, made at its full width.
        QString item;
        item.reserve(std::max<qsizetype>(RecordItemWidth, text.size() + 8));
        if (i >= fieldCount) {
            const qsizetype n = i - fieldCount + 1;
            item.append(QString::number(groups[size_t(2 * n - 1)])).append(QString::number(groups[size_t(2 * n)]));
        }
        item.append(text);
        if (item.size() < RecordItemWidth)
            item.resize(RecordItemWidth, QLatin1Char(' '));
        items.append(std::move(item));
    }
    return items;
}

namespace {

// The field items and their separators: what the accent check looks at.
QString fieldPart(const QStringList &items, QChar separator)
{
    return items.mid(0, std::max<qsizetype>(items.size() - TelephoneCount, 0)).join(separator) + separator;
}

} // namespace

QString checksumSuffix(const QString &record, char checkSize)
{
    std::int64_t sum = 0;
    for (QChar c : record)
        sum += static_cast<signed char>(recordByte(c));
    const ChecksumMode mode = checksumMode(checkSize);
    if (mode == ChecksumMode::Fixed)
        return settingChar(checkSize);
    return QString::number(sum % checksumModulus(mode));
}

QList<RecordResult> downloadRefusals(const FormValues &form, const LinkSettings &settings)
{
    return downloadRefusals(form, recordItems(form), settings);
}

QString downloadRecord(const QStringList &items, const LinkSettings &settings)
{
    QString record = items.join(settingChar(settings.DownloadSeparator));
    if (settings.CheckValue >= 1)
        record += checksumSuffix(record, settings.CheckSize);
    return record;
}

QList<RecordResult> downloadRefusals(const FormValues &form, const QStringList &items, const LinkSettings &settings)
{
    QList<RecordResult> refusals;
    const qsizetype fieldCount = std::max<qsizetype>(form.texts.size() - TelephoneCount, 0);
    for (qsizetype i = 0; i < fieldCount && i < RequiredFieldCount; ++i) {
        if (form.texts[i].isEmpty())
            refusals.append({RecordError::MissingField, int(i)});
    }
    const QChar separator = settingChar(settings.DownloadSeparator);
    // The accent check looks at the fields as they stand in the record, the
    // separators between them included.
    for (qsizetype i = 0; i < fieldCount; ++i) {
        if (!std::all_of(items[i].begin(), items[i].end(), isStorable))
            refusals.append({RecordError::AccentedCharacter, int(i)});
    }
    if (!isStorable(separator) && fieldCount > 0)
        refusals.append({RecordError::AccentedCharacter, -1});
    // What becomes of every character on the line, telephone numbers too.
    for (qsizetype i = 0; i < form.texts.size(); ++i) {
        if (const RecordError problem = byteProblem(form.texts[i]); problem != RecordError::None)
            refusals.append({problem, int(i)});
    }
    // The rules of the number fields and the restore flag, for values that
    // came from a file or a read-up. The texts' own rule is the accent check
    // above, which lets the currency sign through as the module stores it.
    for (qsizetype i = 0; i < form.texts.size(); ++i) {
        const FieldRule rule = fieldRuleViolation(int(i), form.texts[i]);
        if (rule != FieldRule::None && rule != FieldRule::SevenBitText)
            refusals.append({RecordError::FieldRule, int(i), rule});
    }
    const QString suffix = settings.CheckValue >= 1 ? checksumSuffix(items.join(separator), settings.CheckSize) : QString();
    if (byteProblem(suffix) != RecordError::None)
        refusals.append({RecordError::ControlCharacter, -1});
    // Every separator cuts a piece on the line; one inside a text would
    // shift every later field in the module.
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].contains(separator))
            refusals.append({RecordError::SeparatorInText, int(i)});
    }
    if (suffix.contains(separator))
        refusals.append({RecordError::SeparatorInText, -1});
    return refusals;
}

RecordResult buildContentRecord(const FormValues &form, LinkSettings &settings,
                                RecordPurpose purpose)
{
    const QChar separator = settingChar(settings.DownloadSeparator);
    settings.RecordText.clear();
    const QStringList items = recordItems(form);

    if (purpose == RecordPurpose::Download) {
        const QList<RecordResult> refusals = downloadRefusals(form, settings);
        if (!refusals.isEmpty()) {
            const RecordResult &first = refusals.first();
            if (first.error == RecordError::MissingField)
                qDebug().noquote() << fieldName(first.field);
            else if (first.error == RecordError::AccentedCharacter)
                settings.RecordText = fieldPart(items, separator);
            return first;
        }
        settings.RecordText = downloadRecord(items, settings);
        return {};
    }

    // Verify sends nothing; it refuses only what no module can hold.
    const QString fields = fieldPart(items, separator);
    if (!std::all_of(fields.begin(), fields.end(), isStorable)) {
        settings.RecordText = fields;
        return {RecordError::AccentedCharacter};
    }
    const QString record = items.join(separator) + separator;
    for (qsizetype i = 0; i < form.texts.size(); ++i) {
        const QString &text = form.texts[i];
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return isControlCode(c.unicode()); })) {
            settings.RecordText = record;
            return {RecordError::AccentedCharacter, int(i)};
        }
    }
    settings.RecordText = record;
    return {};
}

QList<QByteArray> linePieces(const QString &record, char separator)
{
    QList<QByteArray> pieces;
    for (const QString &piece : record.split(settingChar(separator))) {
        QByteArray bytes;
        bytes.reserve(piece.size());
        for (QChar c : piece)
            bytes += char(recordByte(c));
        pieces.append(bytes);
    }
    return pieces;
}
