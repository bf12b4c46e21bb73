#pragma once

#include "core/form/formvalues.h"
#include "core/storage/outputfile.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// A content file keeps the whole form as 108 CR LF lines: the 44 line-edit
// texts, then "1" or "0" for each of the 64 check boxes, all in form order.
// Bytes are Latin-1 both ways, so a file made elsewhere loads and saves back
// byte for byte.
namespace ContentFile {

inline constexpr int LineCount = LineEditCount + CheckBoxCount;
// A reader stops at the first line that is exactly this; the line counts.
inline const QString EndMark = QStringLiteral("---");
// No field holds more than 16 characters; a line far longer than that is not
// a content file, and reading stops there.
inline constexpr qint64 MaxLineBytes = 4096;

enum class LoadStatus {
    Loaded,
    Missing,
    Malformed,   // not 108 lines of field values
    NotAFile,    // a folder, a named pipe or a device
    Unreadable,  // the system would not let it be read
};

struct LoadResult
{
    LoadStatus status = LoadStatus::Malformed;
    FormValues values;      // the form after the load; unchanged unless Loaded
    struct Cut
    {
        int field;
        qsizetype length;  // as the file holds it
    };
    QList<Cut> cut;         // the fields whose line was longer than the field, and was cut
    int systemError = 0;    // errno, for Unreadable
};

// A value the reader would not give back as it stands.
struct SaveProblem
{
    enum class Reason { WrongShape, EndMark, LineBreak, NulCharacter, NotLatin1, TooLong };
    int field;  // the line edit, or -1 for the form as a whole (WrongShape)
    Reason reason;
};
// The first such value in form order, or nothing when the whole form will
// load again exactly as it is.
std::optional<SaveProblem> findUnsavable(const FormValues &values);

QByteArray serialize(const FormValues &values);

enum class SaveStatus { Saved, Refused, WriteFailed };
// Refuses a form that would not load back; a refused or failed save leaves
// the old file whole, and `error` says why the disk did not take it.
SaveStatus save(const QString &path, const FormValues &values, FileError *error = nullptr);

// Applies the file's lines to `current`; texts and check states change,
// the check boxes' groups stay.
LoadResult parse(QIODevice &in, const FormValues &current);
// The same of a file's bytes held in memory, as the journal keeps them.
LoadResult parse(const QByteArray &content, const FormValues &current);
// "-" reads standard input.
LoadResult load(const QString &path, const FormValues &current);

// "name.suffix" as the status bar shows it: the base name up to the first
// point, a point, and everything after the first point.
QString displayName(const QString &path);

} // namespace ContentFile
