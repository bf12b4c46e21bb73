// Any bytes as the module's answer to an upload request: read-up either
// refuses them or yields a form whose texts fit their fields, and verify's
// reading of them never breaks.

#include "core/record/moduleanswer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray received(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = answerText(received);
    if (text.size() > received.size())
        std::abort();
    const FormValues initial = initialFormValues();
    const ReadupResult result = readModuleAnswer(received, initial);
    if (result.error != AnswerError::None)
        return 0;
    if (result.values.texts.size() != LineEditCount || result.values.checked.size() != CheckBoxCount
        || result.values.groups != initial.groups)
        std::abort();
    for (int i = 0; i < LineEditCount; ++i) {
        if (result.values.texts[i].size() > lineEditCatalogue()[i].maxLength)
            std::abort();
    }
    return 0;
}
