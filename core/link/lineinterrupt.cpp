#include "lineinterrupt.h"

#include <QDebug>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

LineInterrupt::LineInterrupt()
    : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    // Without a descriptor the flag alone still ends every wait, a slice later.
    if (m_fd < 0)
        qWarning("unable to create the line interrupt (%s): waits end within 50 ms of Escape", std::strerror(errno));
}

LineInterrupt::LineInterrupt(const LineInterrupt *follows, Fence fence)
    : m_follows(follows)
    , m_fence(std::move(fence))
{
}

LineInterrupt::~LineInterrupt()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void LineInterrupt::trigger()
{
    m_triggered = true;
    if (m_fd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
    }
}

bool LineInterrupt::isTriggered() const
{
    return m_triggered || (m_follows && m_follows->isTriggered()) || isFenced();
}

void LineInterrupt::reset()
{
    std::uint64_t count = 0;
    if (m_fd >= 0)
        [[maybe_unused]] const ssize_t n = ::read(m_fd, &count, sizeof count);
    m_triggered = false;
}
