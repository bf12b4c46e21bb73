// Any bytes at the journal's name: judged empty, ours or another program's,
// without reading outside them.

#include "core/journal/journalprobe.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    probeJournalBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
