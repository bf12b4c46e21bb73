#pragma once

#include "portholder.h"

#include <QString>

#include <functional>
#include <QStringList>

// The UUCP lock files that serial terminals keep in /run/lock: "LCK..ttyUSB0"
// holds the number of the process that has /dev/ttyUSB0. Ours carries that
// number in ten columns, then the program's name and the host's name, each on
// a line of its own: terminal programs read the first line, Qt's QLockFile
// all three, and both then see the lock as held.
namespace SerialDevice {

// Where lock files are looked for and written: the first of these folders
// that exists. Tests point it at a folder of their own.
void setLockDirectories(const QStringList &folders);
QStringList lockDirectories();
// /run/lock, then /var/lock; or the one absolute folder TAVIR340_LOCK_DIR
// names, for a test run or a machine that keeps its locks elsewhere.
QStringList defaultLockDirectories();
// The lock file for a device, with links resolved; empty without a folder.
QString lockFilePath(const QString &device);

enum class LockState { Absent, Live, Stale, Unreadable };

struct LockReading
{
    LockState state = LockState::Absent;
    Holder holder;  // when Live
};

// The process a lock file's bytes name: its first line, ten right-aligned
// digits and a newline as UUCP writes it, or any first line that is a
// number; 0 when it names none.
qint64 lockPid(const QByteArray &content);

// What a lock file says, without ever blocking: anything but a plain file
// (a named pipe, a device, a link) is unreadable, and so is one that names
// no process.
LockReading readLock(const QString &path);

// A lock file of ours on a device, released when this goes. A lock whose
// process has ended is removed first. Where the folder refuses writing,
// existing locks are still honoured and none is made.
class DeviceLock
{
public:
    // StaleKept: a lock of a process that has ended, which we may not remove
    // (another user's file in a sticky folder): see stalePid().
    enum class Status { Taken, NotKept, Held, Unreadable, StaleKept };

    DeviceLock() = default;
    explicit DeviceLock(const QString &device);
    ~DeviceLock();
    DeviceLock(DeviceLock &&other) noexcept;
    DeviceLock &operator=(DeviceLock &&other) noexcept;
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    // Taken or NotKept: the port may be used.
    bool allows() const { return m_status == Status::Taken || m_status == Status::NotKept; }
    Status status() const { return m_status; }
    const Holder &holder() const { return m_holder; }  // when Held
    const QString &path() const { return m_path; }     // the lock file
    qint64 stalePid() const { return m_stalePid; }     // when StaleKept
    void release();

    // Called between finding a lock stale and removing it: how a test puts
    // another taker's turn exactly there.
    static void setBeforeStaleRemoval(std::function<void()> hook);

private:
    Status m_status = Status::NotKept;
    Holder m_holder;
    QString m_path;
    int m_fd = -1;  // our lock, flock()ed while it is ours
    qint64 m_stalePid = 0;
};

} // namespace SerialDevice
