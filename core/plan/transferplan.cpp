#include "transferplan.h"

#include "core/record/protocolbytes.h"

#include <QCryptographicHash>

namespace {

int digitAt(const QString &item, int position)
{
    const QChar c = position < item.size() ? item[position] : QChar(u'0');
    return c.isDigit() && c.unicode() < 128 ? c.digitValue() : 0;
}

QString boxSide(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

// The boxes of telephone row `row` that read differently from the two items.
QList<FieldDifference> boxDifferences(const FormValues &form, int row, const QString &expected, const QString &found)
{
    QList<FieldDifference> differences;
    for (qsizetype k = 0; k < form.groups.size() && k < checkBoxCatalogue().size(); ++k) {
        const std::optional<PermissionBit> box = permissionBit(form.groups[k]);
        if (!box || (box->group + 1) / 2 != row)
            continue;
        const int position = box->group % 2 == 1 ? 0 : 1;
        const bool wanted = heldByDigit(digitAt(expected, position), box->bit);
        const bool held = heldByDigit(digitAt(found, position), box->bit);
        if (wanted != held)
            differences.append({checkBoxCatalogue()[k].name, boxSide(wanted), boxSide(held)});
    }
    return differences;
}

} // namespace

namespace {

QStringList withoutFill(QStringList items)
{
    for (QString &item : items) {
        while (item.endsWith(QLatin1Char(' ')))
            item.chop(1);
    }
    return items;
}

} // namespace

QStringList storedItems(const FormValues &form)
{
    return withoutFill(recordItems(form));
}

QList<FieldDifference> compareStoredItems(const FormValues &form, const QStringList &expected, const QStringList &found)
{
    QList<FieldDifference> texts, boxes;
    const qsizetype count = std::min({expected.size(), found.size(), qsizetype(LineEditCount)});
    for (qsizetype i = 0; i < count; ++i) {
        if (expected[i] == found[i])
            continue;
        const QString &name = lineEditCatalogue()[i].name;
        if (i < FieldItemCount) {
            texts.append({name, expected[i], found[i]});
            continue;
        }
        const qsizetype before = texts.size() + boxes.size();
        if (expected[i].mid(2) != found[i].mid(2))
            texts.append({name, expected[i].mid(2), found[i].mid(2)});
        boxes += boxDifferences(form, int(i - FieldItemCount + 1), expected[i], found[i]);
        // Digits that differ in no box (a 7 for a 3, a letter for a 0) are
        // a difference all the same: the item is named as the module holds it.
        if (texts.size() + boxes.size() == before)
            texts.append({name, expected[i], found[i]});
    }
    return texts + boxes;
}

QList<FieldDifference> compareAsStored(const FormValues &first, const FormValues &second)
{
    return compareStoredItems(first, storedItems(first), storedItems(second));
}

PlannedTransfer planTransfer(const FormValues &form, const LinkSettings &settings, RecordPurpose purpose)
{
    PlannedTransfer planned;
    const QStringList items = recordItems(form);
    LinkSettings built = settings;
    if (purpose == RecordPurpose::Download) {
        planned.refusals = downloadRefusals(form, items, settings);
        built.RecordText = downloadRecord(items, settings);
    } else if (const RecordResult result = buildContentRecord(form, built, purpose); result.error != RecordError::None) {
        planned.refusals.append(result);
    }
    if (!planned.refusals.isEmpty())
        return planned;
    TransferPlan plan;
    plan.m_form = form;
    plan.m_record = built.RecordText;
    QString sent = built.RecordText;
    if (purpose == RecordPurpose::Verify)
        sent.chop(1);  // the comparison text ends in a separator no download sends
    for (const QByteArray &piece : linePieces(sent, settings.DownloadSeparator))
        plan.m_pieces.append(piece + char(PieceEnd));
    plan.m_storedItems = withoutFill(items);
    planned.plan = plan;
    return planned;
}

QByteArray TransferPlan::downloadBytes() const
{
    QByteArray bytes = QByteArray() + char(RequestByte) + char(DownloadRequest);
    for (const QByteArray &piece : m_pieces)
        bytes += piece;
    return bytes;
}

QString TransferPlan::recordSha256() const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray &piece : m_pieces)
        hash.addData(piece);
    return QString::fromLatin1(hash.result().toHex());
}

QList<QByteArray> TransferPlan::expectedAnswer() const
{
    QList<QByteArray> answer;
    for (const QString &item : recordItems(m_form))
        answer.append(item.toLatin1() + char(PieceEnd));
    return answer;
}

AnswerComparison TransferPlan::compare(const QByteArray &received) const
{
    AnswerComparison comparison;
    const AnswerFields fields = answerFields(received);
    comparison.error = fields.error;
    comparison.fieldCount = int(fields.items.size());
    if (fields.error == AnswerError::None && fields.items.size() != m_storedItems.size())
        comparison.error = AnswerError::WrongFieldCount;
    if (comparison.error == AnswerError::None)
        comparison.differences = compareStoredItems(m_form, m_storedItems, fields.items);
    return comparison;
}
