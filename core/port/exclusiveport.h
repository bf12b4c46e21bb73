#pragma once

#include "lockfile.h"
#include "portholder.h"
#include "portpermission.h"

#include <QString>

#include <optional>

// Whether the device behind a port name is free for us, and the device
// opened for this program alone. A port is ours only when nobody else holds
// it, whoever we run as: we honour and write the UUCP lock files, take an
// advisory lock on the device, read the terminal's exclusive flag before
// setting it, and on a real serial device (not a pseudo-terminal, whose other
// side rightly keeps it open) look for any process that has the device open.
namespace SerialDevice {

enum class Access { Free, Busy, NoPermission, Missing };

struct PortState
{
    Access access = Access::Missing;
    QString device;                // the device itself, links resolved
    std::optional<Holder> holder;  // who has it, where that can be known
    QString lockFile;              // a lock file that names no live process we can read
    qint64 stalePid = 0;           // the ended process such a lock names, when we may not remove it
    QString group;                 // the group that owns a device we may not open
    PermissionAdvice permission;   // what would let us open it
};

// The group that owns a device file.
QString owningGroup(const QString &path);

// Whether the device is free, without opening it (opening a USB adapter
// raises DTR and RTS, and some reset): lock files, the processes that hold
// it, and our permission to open it.
PortState inspect(const QString &port);

// Whether the port can be taken right now: taken and released at once.
PortState probe(const QString &port);

// A serial device opened read and write for this program alone, without
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
    void refuse(Access access);
    bool clearOrphanedFlag(int fd, bool pseudo);

    int m_fd = -1;
    bool m_setExclusive = false;
    DeviceLock m_lock;
    PortState m_state;
};

} // namespace SerialDevice
