// Any bytes at the journal's name and in its -wal: judged empty, ours or
// another program's, without reading outside them. The input's first byte
// says how much of the rest, in kilobytes, is the file; the rest is its -wal.

#include "core/journal/journalprobe.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype split = std::min<qsizetype>(rest.size(), qsizetype(data[0]) * 1024);
    probeJournalBytes(rest.left(split), rest.mid(split));
    probeJournalBytes(rest);
    return 0;
}
