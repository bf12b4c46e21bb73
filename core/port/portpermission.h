#pragma once

#include <QString>

// What keeps this user from a serial device, and what would mend it, read
// from the device's real mode, owner and group and from the user's groups:
// in the account and in this session.
struct PermissionAdvice
{
    enum class Fix {
        None,              // nothing we can tell (an access control list, say)
        JoinGroup,         // the group may read and write: the user should join it
        LogInAgain,        // the user is in the group, but not in this session yet
        GroupCannotWrite,  // the group may not write: a udev rule must give it the device
        RootOnly,          // only root may open it: a udev rule must give it to a group
    };
    Fix fix = Fix::None;
    QString group;     // the device's group
    int mode = 0;      // the device's permission bits
    QString udevRule;  // for GroupCannotWrite and RootOnly: the line that mends it
};

PermissionAdvice permissionAdvice(const QString &path);

// The same from what was read: the rule itself.
struct DeviceAccess
{
    QString path;              // the device itself, links resolved
    int mode = 0;
    bool rootGroup = false;    // its group is root's
    QString group;
    bool groupInSession = false;
    bool groupInAccount = false;
};
PermissionAdvice adviseOn(const DeviceAccess &device);
