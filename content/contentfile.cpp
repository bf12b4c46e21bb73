#include "contentfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ContentFile {

QByteArray serialize(const FormValues &values)
{
    QByteArray out;
    for (const QString &text : values.texts)
        out += text.toLatin1() + "\r\n";
    for (bool checked : values.checked)
        out += checked ? "1\r\n" : "0\r\n";
    return out;
}

std::optional<SaveProblem> findUnsavable(const FormValues &values)
{
    if (values.texts.size() != LineEditCount || values.checked.size() != CheckBoxCount)
        return SaveProblem{-1, QStringLiteral("it does not have %1 fields and %2 boxes").arg(LineEditCount).arg(CheckBoxCount)};
    for (int i = 0; i < LineEditCount; ++i) {
        const QString &text = values.texts[i];
        auto holds = [&text](auto test) { return std::any_of(text.begin(), text.end(), test); };
        if (text == EndMark)
            return SaveProblem{i, QStringLiteral("it is \"%1\", which marks the end of a content file").arg(EndMark)};
        if (holds([](QChar c) { return c == u'\r' || c == u'\n'; }))
            return SaveProblem{i, QStringLiteral("it holds a line break")};
        if (holds([](QChar c) { return c.unicode() == 0; }))
            return SaveProblem{i, QStringLiteral("it holds a NUL character")};
        if (holds([](QChar c) { return c.unicode() > 0xFF; }))
            return SaveProblem{i, QStringLiteral("it holds a character that a content file cannot store")};
        if (text.size() > lineEditCatalogue().at(i).maxLength)
            return SaveProblem{i, QStringLiteral("it is longer than the field")};
    }
    return std::nullopt;
}

QString describe(const SaveProblem &problem)
{
    if (problem.field < 0)
        return QStringLiteral("The form cannot be saved: %1.").arg(problem.reason);
    return QStringLiteral("The field \"%1\" cannot be saved: %2.").arg(fieldTitle(problem.field), problem.reason);
}

SaveStatus save(const QString &path, const FormValues &values)
{
    if (findUnsavable(values))
        return SaveStatus::Refused;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return SaveStatus::WriteFailed;
    const QByteArray bytes = serialize(values);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return SaveStatus::WriteFailed;
    return SaveStatus::Saved;
}

// Reads up to LineCount + 1 lines, stopping early after the end mark. Lines end
// in LF or CR LF; a stray CR, a NUL byte or an over-long line mean the file is
// not a content file.
static std::optional<QStringList> readLines(QIODevice &in)
{
    QStringList lines;
    do {
        QByteArray raw = in.readLine(MaxLineBytes + 2);
        if (raw.endsWith('\n')) {
            raw.chop(1);
            if (raw.endsWith('\r'))
                raw.chop(1);
        } else if (!in.atEnd()) {
            return std::nullopt;
        }
        if (raw.contains('\0') || raw.contains('\r'))
            return std::nullopt;
        lines.append(QString::fromLatin1(raw));
        if (lines.last() == EndMark)
            break;
        if (lines.size() > LineCount)
            return std::nullopt;
    } while (!in.atEnd());
    return lines;
}

LoadResult parse(QIODevice &in, const FormValues &current)
{
    LoadResult result{LoadStatus::Malformed, current};
    const std::optional<QStringList> lines = readLines(in);
    if (!lines || lines->size() != LineCount
        || current.texts.size() != LineEditCount || current.checked.size() != CheckBoxCount)
        return result;
    for (int i = 0; i < LineEditCount; ++i)
        result.values.texts[i] = lines->at(i).left(lineEditCatalogue().at(i).maxLength);
    for (int k = 0; k < CheckBoxCount; ++k)
        result.values.checked[k] = lines->at(LineEditCount + k) == QLatin1String("1");
    result.status = LoadStatus::Loaded;
    return result;
}

LoadResult load(const QString &path, const FormValues &current)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {LoadStatus::Missing, current};
    // A folder, a device or a named pipe is no content file; opening a pipe
    // would wait for a writer that never comes.
    if (!info.isFile())
        return {LoadStatus::Malformed, current};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {LoadStatus::Malformed, current};
    return parse(file, current);
}

QString displayName(const QString &path)
{
    const QFileInfo info(path);
    return info.baseName() + QLatin1Char('.') + info.completeSuffix();
}

} // namespace ContentFile
