#include "qrcode.h"

#include <qrencode.h>

#include <memory>

QrCode encodeQr(const QByteArray &payload)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> encoded(
        QRcode_encodeData(int(payload.size()), reinterpret_cast<const unsigned char *>(payload.constData()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    QrCode code;
    if (!encoded)
        return code;
    code.size = encoded->width;
    code.dark.resize(size_t(code.size) * size_t(code.size));
    for (size_t i = 0; i < code.dark.size(); ++i)
        code.dark[i] = encoded->data[i] & 1;  // the lowest bit: dark; the rest say what the module is for
    return code;
}
