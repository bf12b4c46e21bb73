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
//
// The program runs as root in folders others share, so nothing is written
// through a link at the name, and no file another user put there is
// replaced: the fresh file is made by us alone (O_EXCL, O_NOFOLLOW) and
// renamed over the name, which never follows a link.
struct FileError
{
    enum class Kind {
        None,
        NotRegularFile,  // a device, a pipe or a folder at the name
        Link,            // a symbolic link at the name: not written through
        OtherOwner,      // another user's file in a folder others may write
        FolderOwner,     // a folder of another user: code, the owner's uid
        OpenFolder,      // a folder others may write in, without the sticky bit
        System,
    };
    Kind kind = Kind::None;
    int code = 0;  // errno, for System; the owner's uid, for OtherOwner

    explicit operator bool() const { return kind != Kind::None; }
    static FileError system(int code) { return {Kind::System, code}; }
};

class OutputFile
{
public:
    // Replace: a regular file of ours at the name is replaced, and keeps its
    // permission bits (without set-id and sticky bits; for OwnerOnly, the
    // owner's alone); a link, another
    // user's file in a shared folder or anything but a regular file is
    // refused. Keep: the file is only ever made; a name that exists, a link
    // included, is never replaced nor followed, and the commit fails.
    enum class Placement { Replace, Keep };
    // Who may read a new file: OwnerOnly (it holds a PIN: content files,
    // logs of the exchange, backups) is 0600 whatever the umask; Anyone
    // follows the umask.
    enum class Readers { Anyone, OwnerOnly };

    // Opens the fresh file at once, so that a folder that cannot take it, or
    // a name that may not be written, is known before any work is done.
    explicit OutputFile(const QString &path, Readers readers = Readers::Anyone, Placement placement = Placement::Replace);
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
FileError writeWholeFile(const QString &path, const QByteArray &bytes, OutputFile::Readers readers = OutputFile::Readers::Anyone);

// The user name of `uid`, or its number where it has none.
QString userName(uid_t uid);
