// Any form values through a save: either the save is refused, or loading the
// file gives back exactly the values that were saved.

#include "core/content/contentfile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const FormValues initial = initialFormValues();
    FormValues values = initial;
    for (int i = 0; i < LineEditCount; ++i) {
        QString text;
        const int length = input.ConsumeIntegralInRange(0, 20);
        for (int c = 0; c < length; ++c)  // mostly Latin-1, now and then beyond it
            text += QChar(char16_t(input.ConsumeBool() ? input.ConsumeIntegral<uint8_t>()
                                                       : input.ConsumeIntegral<uint16_t>()));
        if (input.ConsumeIntegralInRange(0, 15) == 0)
            text = ContentFile::EndMark;
        values.texts[i] = text;
    }
    for (int k = 0; k < CheckBoxCount; ++k)
        values.checked[k] = input.ConsumeBool();

    if (ContentFile::findUnsavable(values))
        return 0;
    QByteArray bytes = ContentFile::serialize(values);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const ContentFile::LoadResult loaded = ContentFile::parse(buffer, initial);
    if (loaded.status != ContentFile::LoadStatus::Loaded || !(loaded.values == values))
        std::abort();
    return 0;
}
