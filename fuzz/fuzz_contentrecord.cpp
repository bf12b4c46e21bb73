// Any form values and protocol characters through the record builder: a
// download record is refused or goes onto the line as exactly one piece per
// line edit, and not one byte of those pieces is a control code (a NUL from a
// character beyond Latin-1 included); a verify text is always one
// 16-character slot and a separator per line edit.

#include "core/record/contentrecord.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    LinkSettings settings;
    settings.CheckSize = input.ConsumeIntegral<char>();
    settings.CheckValue = input.ConsumeIntegralInRange(0, 2);
    settings.DownloadSeparator = input.ConsumeIntegral<char>();
    settings.AckChar = input.ConsumeIntegral<char>();
    settings.UploadCommand = input.ConsumeIntegral<char>();

    FormValues form = initialFormValues();
    for (int i = 0; i < LineEditCount; ++i) {
        const std::string bytes = input.ConsumeRandomLengthString(20);
        QString text;
        for (unsigned char c : bytes)
            text += c < 0xF0 ? QChar(c) : QChar(0x100 + c);  // now and then beyond Latin-1
        form.texts[i] = text.left(lineEditCatalogue()[i].maxLength);  // as a line edit holds it
    }
    for (int k = 0; k < CheckBoxCount; ++k)
        form.checked[k] = input.ConsumeBool();
    if (input.ConsumeBool())
        form.groups[input.ConsumeIntegralInRange(0, CheckBoxCount - 1)] =
            QString::fromLatin1(input.ConsumeRandomLengthString(8));

    const QChar separator = settingChar(settings.DownloadSeparator);
    LinkSettings download = settings;
    const RecordResult result = buildContentRecord(form, download, RecordPurpose::Download);
    if (result.error == RecordError::None) {
        const QList<QByteArray> pieces = linePieces(download.RecordText, settings.DownloadSeparator);
        if (pieces.size() != LineEditCount)
            std::abort();
        const qsizetype suffix = download.RecordText.size() - (LineEditCount * RecordItemWidth + LineEditCount - 1);
        if (suffix < 0 || suffix > 3 || (settings.CheckValue == 0 && suffix != 0))  // "-31" at most
            std::abort();
        // A line end would shift every later field; each piece's own CR is
        // the only one the module sees.
        for (const QByteArray &piece : pieces) {
            if (std::any_of(piece.begin(), piece.end(), [](char byte) { return isControlCode(static_cast<unsigned char>(byte)); }))
                std::abort();
        }
    } else if (result.error == RecordError::MissingField && !download.RecordText.isEmpty()) {
        std::abort();
    }

    LinkSettings verify = settings;
    const RecordResult checked = buildContentRecord(form, verify, RecordPurpose::Verify);
    if (checked.error == RecordError::None
        && (verify.RecordText.size() != LineEditCount * (RecordItemWidth + 1) || !verify.RecordText.endsWith(separator)))
        std::abort();
    if (checked.error != RecordError::None && checked.error != RecordError::AccentedCharacter)
        std::abort();
    return 0;
}
