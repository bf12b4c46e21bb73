#include "moduleanswer.h"

#include "contentrecord.h"

#include <QMap>
#include <QSet>

namespace {

// The answer with each field end as `end`, framed: the final byte dropped, a
// preamble up to the last double end removed (unless that ends the text),
// and the fill of unwritten memory as spaces.
QString framed(const QByteArray &received, QChar end)
{
    QString text;
    text.reserve(received.size());
    for (char byte : received)
        text += byte == '\r' ? end : QChar::fromLatin1(byte);
    text.chop(1);

    const qsizetype preambleEnd = text.lastIndexOf(QString(2, end));
    if (preambleEnd >= 0 && preambleEnd != text.size() - 2)
        text = text.mid(preambleEnd + 2);
    // Unwritten memory reads as 0xFF or, in some modules, 0x00: either is fill.
    text.replace(QChar(0xFF), QChar(u' '));
    text.replace(QChar(0x00), QChar(u' '));
    return text;
}

} // namespace

QString answerText(const QByteArray &received)
{
    return framed(received, QChar(u'|'));
}

namespace {

void chopTrailingSpaces(QString &part)
{
    qsizetype end = part.size();
    while (end > 0 && part[end - 1] == QLatin1Char(' '))
        --end;
    part.truncate(end);
}

int digitValue(const QString &part)
{
    bool ok = false;
    const int value = part.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

AnswerFields answerFields(const QByteArray &received)
{
    // Cut where the module ended a field, at its CR alone: a "|" stored in
    // a field, as any separator but "|" lets a download write, is text.
    AnswerFields fields;
    QStringList parts = framed(received, QChar(u'\r')).split(QChar(u'\r'));
    if (parts.size() == 1) {
        fields.error = AnswerError::NoSeparator;
        return fields;
    }
    parts.removeAll(QString());
    for (QString &part : parts)
        chopTrailingSpaces(part);
    fields.items = parts;
    return fields;
}

bool heldByDigit(int digit, int bit)
{
    return (digit & permissionMask(bit)) != 0;
}

ReadupResult readModuleAnswer(const QByteArray &received, const FormValues &current)
{
    ReadupResult result;
    const AnswerFields fields = answerFields(received);
    result.error = fields.error;
    if (fields.error != AnswerError::None)
        return result;
    QStringList parts = fields.items;
    result.fieldCount = int(parts.size());
    const qsizetype lineEdits = current.texts.size();
    if (parts.size() != lineEdits || lineEdits < TelephoneCount) {
        result.error = AnswerError::WrongFieldCount;
        return result;
    }

    // The two permission digits in front of each telephone number become
    // parts of their own, row by row, after the 44 texts. An empty telephone
    // part gives the digits 0 and 0.
    for (qsizetype p = lineEdits - TelephoneCount; p < lineEdits; ++p) {
        const QString telephone = parts[p];
        parts[p] = telephone.mid(2);
        parts.append(telephone.isEmpty() ? QStringLiteral("0") : telephone.mid(0, 1));
        parts.append(telephone.size() < 2 ? QString() : telephone.mid(1, 1));
    }

    QList<PermissionBit> boxes;
    QSet<int> groupNumbers;
    for (const QString &group : current.groups) {
        const PermissionPieces pieces = permissionPieces(group);
        if (!pieces.group) {
            result.error = AnswerError::BadGroup;
            return result;
        }
        boxes.append({*pieces.group, pieces.bit.value_or(0)});
        groupNumbers.insert(*pieces.group);
    }
    const int groupCount = int(groupNumbers.size());

    FormValues values = current;
    for (qsizetype i = 0; i < lineEdits; ++i)
        values.texts[i] = fittedToField(int(i), parts[i]);
    for (qsizetype k = 0; k < boxes.size() && k < values.checked.size(); ++k) {
        const int g = boxes[k].group;
        if (g < 1 || g > groupCount)
            continue;
        const qsizetype digitPart = lineEdits + g - 1;
        const int digit = digitPart < parts.size() ? digitValue(parts[digitPart]) : 0;
        values.checked[k] = boxes[k].bit >= 1 && boxes[k].bit <= 30 && heldByDigit(digit, boxes[k].bit);
    }
    result.values = values;
    return result;
}
