#include "portpermission.h"

#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

bool inSession(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(got, 0), gid) != groups.begin() + std::max(got, 0);
}

bool inAccount(gid_t gid)
{
    const passwd *user = ::getpwuid(::geteuid());
    if (!user)
        return false;
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
        groups.resize(size_t(count));
        ::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count);
    }
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), gid) != groups.begin() + std::max(count, 0);
}

// KERNEL=="ttyUSB0", GROUP="dialout", MODE="0660"
QString ruleFor(const QString &path, const QString &group)
{
    return QStringLiteral("KERNEL==\"%1\", GROUP=\"%2\", MODE=\"0660\"").arg(QFileInfo(path).fileName(), group);
}

} // namespace

PermissionAdvice permissionAdvice(const QString &given)
{
    const PermissionAdvice advice;
    const QString path = QFileInfo(given).canonicalFilePath();
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return advice;
    const group *g = ::getgrgid(info.st_gid);
    return adviseOn({path, int(info.st_mode & 07777), info.st_gid == 0,
                     g ? QString::fromLocal8Bit(g->gr_name) : QString::number(info.st_gid), inSession(info.st_gid),
                     inAccount(info.st_gid)});
}

PermissionAdvice adviseOn(const DeviceAccess &device)
{
    PermissionAdvice advice;
    advice.group = device.group;
    advice.mode = device.mode;
    // Joining root's group is no advice: a udev rule gives the device to
    // the serial group.
    if (device.rootGroup) {
        advice.fix = PermissionAdvice::Fix::RootOnly;
        advice.udevRule = ruleFor(device.path, QStringLiteral("dialout"));
    } else if ((device.mode & 0060) != 0060) {
        advice.fix = PermissionAdvice::Fix::GroupCannotWrite;
        advice.udevRule = ruleFor(device.path, device.group);
    } else if (!device.groupInSession) {
        advice.fix = device.groupInAccount ? PermissionAdvice::Fix::LogInAgain : PermissionAdvice::Fix::JoinGroup;
    }
    return advice;
}
