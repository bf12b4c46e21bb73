#include "contentfile.h"

#include "core/storage/streamread.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace ContentFile {

// More than any content file holds: 108 lines at their longest.
constexpr qint64 MaxFileBytes = qint64(LineCount) * (MaxLineBytes + 2) + 64;

QByteArray serialize(const FormValues &values)
{
    // Built in place: a long manifest serializes every one of its units.
    qsizetype size = 3 * values.checked.size();
    for (const QString &text : values.texts)
        size += text.size() + 2;
    QByteArray out(size, Qt::Uninitialized);
    char *at = out.data();
    for (const QString &text : values.texts) {
        for (QChar c : text)
            *at++ = c.unicode() <= 0xFF ? char(c.unicode()) : '?';  // as toLatin1() has it
        *at++ = '\r';
        *at++ = '\n';
    }
    for (bool checked : values.checked) {
        *at++ = checked ? '1' : '0';
        *at++ = '\r';
        *at++ = '\n';
    }
    return out;
}

std::optional<SaveProblem> findUnsavable(const FormValues &values)
{
    using Reason = SaveProblem::Reason;
    if (values.texts.size() != LineEditCount || values.checked.size() != CheckBoxCount)
        return SaveProblem{-1, Reason::WrongShape};
    for (int i = 0; i < LineEditCount; ++i) {
        const QString &text = values.texts[i];
        auto holds = [&text](auto test) { return std::any_of(text.begin(), text.end(), test); };
        if (text == EndMark)
            return SaveProblem{i, Reason::EndMark};
        if (holds([](QChar c) { return c == u'\r' || c == u'\n'; }))
            return SaveProblem{i, Reason::LineBreak};
        if (holds([](QChar c) { return c.unicode() == 0; }))
            return SaveProblem{i, Reason::NulCharacter};
        if (holds([](QChar c) { return c.unicode() > 0xFF; }))
            return SaveProblem{i, Reason::NotLatin1};
        if (text.size() > lineEditCatalogue().at(i).maxLength)
            return SaveProblem{i, Reason::TooLong};
    }
    return std::nullopt;
}

SaveStatus save(const QString &path, const FormValues &values, FileError *error)
{
    if (findUnsavable(values))
        return SaveStatus::Refused;
    const FileError written = writeWholeFile(path, serialize(values), OutputFile::Readers::OwnerOnly);  // the PIN is in it
    if (error)
        *error = written;
    return written ? SaveStatus::WriteFailed : SaveStatus::Saved;
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

static LoadResult notLoaded(LoadStatus status, const FormValues &current, int systemError = 0)
{
    LoadResult result;
    result.status = status;
    result.values = current;
    result.systemError = systemError;
    return result;
}

LoadResult parse(const QByteArray &content, const FormValues &current)
{
    QByteArray bytes = content;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return parse(buffer, current);
}

LoadResult parse(QIODevice &in, const FormValues &current)
{
    LoadResult result = notLoaded(LoadStatus::Malformed, current);
    const std::optional<QStringList> lines = readLines(in);
    if (!lines || lines->size() != LineCount
        || current.texts.size() != LineEditCount || current.checked.size() != CheckBoxCount)
        return result;
    for (int i = 0; i < LineEditCount; ++i) {
        result.values.texts[i] = fittedToField(i, lines->at(i));
        if (isTooLong(i, lines->at(i).size()))
            result.cut.append({i, lines->at(i).size()});
    }
    for (int k = 0; k < CheckBoxCount; ++k)
        result.values.checked[k] = lines->at(LineEditCount + k) == QLatin1String("1");
    result.status = LoadStatus::Loaded;
    return result;
}

LoadResult load(const QString &path, const FormValues &current)
{
    if (path == QLatin1String("-")) {
        // A pipe delivers in pieces: the whole stream first, then the lines.
        const StreamRead read = readStream(STDIN_FILENO, MaxFileBytes);
        if (read.error)
            return notLoaded(LoadStatus::Unreadable, current, read.error);
        if (read.tooLarge)
            return notLoaded(LoadStatus::Malformed, current);
        QByteArray bytes = read.bytes;
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        return parse(in, current);
    }
    const QFileInfo info(path);
    if (!info.exists())
        return notLoaded(LoadStatus::Missing, current);
    // A folder, a device or a named pipe is no content file; opening a pipe
    // would wait for a writer that never comes.
    if (!info.isFile())
        return notLoaded(LoadStatus::NotAFile, current);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return notLoaded(LoadStatus::Unreadable, current, errno);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return notLoaded(LoadStatus::Unreadable, current, EIO);
    }
    return parse(file, current);
}

QString displayName(const QString &path)
{
    const QFileInfo info(path);
    return info.baseName() + QLatin1Char('.') + info.completeSuffix();
}

} // namespace ContentFile
