#include "linksettings.h"

QChar settingChar(char byte)
{
    return QChar::fromLatin1(byte);
}

char settingByte(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const char16_t code = text.front().unicode();
    return code <= 0xFF ? char(code) : '?';
}

ChecksumMode checksumMode(char checkSize)
{
    return checkSize >= 0 && checkSize <= 3 ? ChecksumMode(checkSize) : ChecksumMode::Fixed;
}

char checkSizeOf(ChecksumMode mode)
{
    return char(mode);
}

int checksumModulus(ChecksumMode mode)
{
    return 8 * (int(mode) + 1);
}
