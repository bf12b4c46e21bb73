#pragma once

#include <QByteArray>

#include <vector>

// A QR code's modules, from Debian's libqrencode: `size` × `size`, row by
// row, true where a module is dark. Medium error correction, so that a label
// a little scuffed still reads. Empty when the payload does not fit.
struct QrCode
{
    int size = 0;
    std::vector<bool> dark;

    bool isDark(int x, int y) const { return dark[size_t(y) * size_t(size) + size_t(x)]; }
};

QrCode encodeQr(const QByteArray &payload);
