#include "lineinterrupt.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

LineInterrupt::LineInterrupt()
    : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

LineInterrupt::~LineInterrupt()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void LineInterrupt::trigger()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
}

bool LineInterrupt::isTriggered() const
{
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}
