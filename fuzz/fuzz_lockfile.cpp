// Any bytes as a lock file of another program: a process number, or none.

#include "core/port/lockfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const qint64 pid = SerialDevice::lockPid(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (pid < 0)
        std::abort();
    return 0;
}
