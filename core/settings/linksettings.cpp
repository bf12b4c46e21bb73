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
