#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// Every file the program writes goes through here, so that a file is either
// whole on the disk or not changed at all: the bytes go to a fresh file beside
// the target, every write is checked, and only once the disk has them all
// (fsync) does the new file take the target's name. A failure at any step
// leaves the old file as it was. A program killed half-way leaves its bytes
// so far in the fresh file (the target's name and six more characters).
struct FileError
{
    enum class Kind { None, NotRegularFile, System };
    Kind kind = Kind::None;
    int code = 0;  // errno, for System

    explicit operator bool() const { return kind != Kind::None; }
    static FileError system(int code) { return {Kind::System, code}; }
};

class OutputFile
{
public:
    // Replace: a target that exists is replaced, and keeps its mode; a link
    // is followed, as an editor would. Keep: the file is only ever made, with
    // exactly `mode` whatever the umask; a name that exists, a link
    // included, is never replaced nor followed, and the commit fails.
    enum class Placement { Replace, Keep };

    // Opens the fresh file at once, so that a folder that cannot take it is
    // known before any work is done. `mode` is what a new target gets (less
    // the umask, for Replace); a target that exists keeps its own.
    explicit OutputFile(const QString &path, mode_t mode = 0666, Placement placement = Placement::Replace);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    const QString &path() const { return m_path; }
    // Names the file anew before its commit, in the same folder (Keep only):
    // for a name that is known only once the work has begun.
    void setTarget(const QString &path);
    // The first failure so far; once there is one, nothing more is written.
    FileError error() const { return m_error; }
    bool write(const QByteArray &bytes);
    // Puts the file in place; false, with error(), when it is not whole on
    // the disk.
    bool commit();

private:
    void fail(FileError error);
    void discard();
    bool place();

    QString m_path;    // as given
    Placement m_placement = Placement::Replace;
    QByteArray m_target;
    QByteArray m_temporary;
    int m_fd = -1;
    FileError m_error;
};

// Writes `bytes` as the whole of `path`.
FileError writeWholeFile(const QString &path, const QByteArray &bytes, mode_t mode = 0666);
