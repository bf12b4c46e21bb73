// Any bytes as a content file: the reader either refuses them or loads values
// that save and load again unchanged.

#include "core/content/contentfile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const FormValues initial = initialFormValues();
    const ContentFile::LoadResult result = ContentFile::parse(buffer, initial);
    if (result.status != ContentFile::LoadStatus::Loaded) {
        if (!(result.values == initial))
            std::abort();  // a refused file must leave the form alone
        return 0;
    }
    QByteArray saved = ContentFile::serialize(result.values);
    QBuffer again(&saved);
    again.open(QIODevice::ReadOnly);
    const ContentFile::LoadResult reloaded = ContentFile::parse(again, initial);
    if (reloaded.status != ContentFile::LoadStatus::Loaded || !(reloaded.values == result.values))
        std::abort();
    return 0;
}
