#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What a port name stands for on this machine, and whether the device behind
// it is free for us. A port is ours only when nobody else holds it, whoever
// we run as: we honour and write the UUCP lock files that terminal programs
// keep in /run/lock, take an advisory lock on the device, read the
// terminal's exclusive flag before setting it, and on a real serial device
// (not a pseudo-terminal, whose other side rightly keeps it open) look for
// any process that has the device open.
namespace SerialDevice {

// A name registered as an alias stands for its path; "COMn" is
// /dev/ttyS<n-1>; a name with "/" is a path; anything else is a device under
// /dev. Safe from any thread.
QString devicePath(const QString &port);
void registerAlias(const QString &name, const QString &path);
void unregisterAlias(const QString &name);

// Where lock files are looked for and written: the first of these folders
// that exists. Tests point it at a folder of their own.
void setLockDirectories(const QStringList &folders);
QStringList lockDirectories();
// A device path as one file name: "ttyUSB0" for /dev/ttyUSB0, "pts_3" for
// /dev/pts/3, with "/" below /dev turned into "_".
QString flatName(const QString &path);
// The lock file for a device: "LCK..ttyUSB0" for /dev/ttyUSB0, with links
// resolved and "/" below /dev turned into "_".
QString lockFilePath(const QString &device);

struct Holder
{
    qint64 pid = 0;
    QString program;  // empty where it cannot be read
};

enum class Access { Free, Busy, NoPermission, Missing };

struct PortState
{
    Access access = Access::Missing;
    QString device;                // the device itself, links resolved
    std::optional<Holder> holder;  // who has it, where that can be known
    QString lockFile;              // a lock file that names no live process we can read
    QString group;                 // the group that owns a device we may not open
};

// Another process that has the device open, among those we may look into.
std::optional<Holder> processHolding(const QString &device);

// One line for the technician: "ttyUSB0: foglalt (minicom, 4711)".
QString describe(const PortState &state);

// Whether the port can be taken right now: taken and released at once.
PortState probe(const QString &port);

// The group that owns a device file.
QString owningGroup(const QString &path);

// Whether the device is free, without opening it (opening a USB adapter
// raises DTR and RTS, and some reset): lock files, the processes that hold
// it, and our permission to open it.
PortState inspect(const QString &port);

// A serial device opened for this program alone, read and write, without
// becoming its controlling terminal. Closing releases everything it took;
// the exclusive flag is cleared only when this set it.
class ExclusivePort
{
public:
    ExclusivePort() = default;
    explicit ExclusivePort(const QString &port);
    ~ExclusivePort();
    ExclusivePort(ExclusivePort &&other) noexcept;
    ExclusivePort &operator=(ExclusivePort &&other) noexcept;
    ExclusivePort(const ExclusivePort &) = delete;
    ExclusivePort &operator=(const ExclusivePort &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Why the port could not be taken; Free once it is open.
    const PortState &state() const { return m_state; }
    void close();

private:
    int m_fd = -1;
    bool m_setExclusive = false;
    QString m_lockFile;  // ours, removed on close
    PortState m_state;
};

} // namespace SerialDevice
