#include "scannedcode.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// The characters a US-layout scanner's keys give on a Hungarian layout, and
// the US characters they stand for.
QString usKeysFromHungarian(const QString &typed)
{
    static const QHash<QChar, QChar> usFor = {
        {u'é', u';'}, {u'É', u':'}, {u'ó', u'='}, {u'Ó', u'+'}, {u'ü', u'-'}, {u'Ü', u'_'}, {u'ö', u'0'},
        {u'á', u'\''}, {u'ő', u'['}, {u'ú', u']'}, {u'ű', u'\\'}, {u'z', u'y'}, {u'y', u'z'}, {u'Z', u'Y'}, {u'Y', u'Z'},
    };
    QString us = typed;
    for (QChar &c : us)
        c = usFor.value(c, c);
    return us;
}

bool readLabel(const QString &text, ScannedCode &code)
{
    // "T340;E=1234;U=gate-0041;H=0123456789abcdef", as a label's QR code holds it.
    static const QRegularExpression label(QStringLiteral("^T340;E=(\\d{1,18});U=(.+);H=([0-9a-fA-F]{1,64})$"));
    const QRegularExpressionMatch match = label.match(text);
    if (!match.hasMatch())
        return false;
    code.kind = ScannedCode::Kind::Label;
    code.entry = match.captured(1).toLongLong();
    code.unitName = match.captured(2);
    code.hash = match.captured(3).toLower();
    return code.entry > 0;
}

// The unit of that name; a name differing only in case when it is the only one.
int unitNamed(const QString &text, const QList<ManifestUnit> &units)
{
    int folded = -1;
    int foldedCount = 0;
    for (int u = 0; u < units.size(); ++u) {
        if (units[u].unit == text)
            return u;
        if (units[u].unit.compare(text, Qt::CaseInsensitive) == 0) {
            folded = u;
            ++foldedCount;
        }
    }
    return foldedCount == 1 ? folded : -1;
}

ScannedCode readAs(const QString &text, const QList<ManifestUnit> &units)
{
    ScannedCode code;
    if (readLabel(text, code))
        return code;
    code = {};
    if (const int unit = unitNamed(text, units); unit >= 0) {
        code.kind = ScannedCode::Kind::Unit;
        code.unit = unit;
    }
    return code;
}

} // namespace

ScannedCode readScannedCode(const QString &typed, const QList<ManifestUnit> &units)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    const ScannedCode asTyped = readAs(text, units);
    if (asTyped.kind != ScannedCode::Kind::Unknown)
        return asTyped;
    return readAs(usKeysFromHungarian(text), units);
}

ScanRefusal judgeScannedUnit(const UnitStatus &status)
{
    using State = UnitStatus::State;
    switch (status.state) {
    case State::Done:
    case State::Changed:
        return ScanRefusal::Done;
    case State::Claimed:
        return ScanRefusal::Claimed;
    default:
        return ScanRefusal::None;
    }
}
