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

static QString checksumModeName(char checkSize)
{
    switch (checkSize) {
    case 0: return QStringLiteral("8bit sum");
    case 1: return QStringLiteral("16bit sum");
    case 2: return QStringLiteral("24bit sum");
    case 3: return QStringLiteral("32bit sum");
    default: return settingChar(checkSize);
    }
}

QString settingsSummary(const LinkSettings &s)
{
    if (s.FilePath.isEmpty())
        return QStringLiteral("No opened file.");
    return QStringLiteral("Port: %1\n").arg(s.Port)
         + QStringLiteral("Baudrate: B%1\n").arg(s.Baudrate)
         + QStringLiteral("Timeout: %1\n").arg(s.SerialTimeout)
         + QStringLiteral("CHKS: %1\n").arg(checksumModeName(s.CheckSize))
         + QStringLiteral("ACK char: %1\n").arg(settingChar(s.AckChar))
         + QStringLiteral("Checkvalue: %1\n").arg(s.CheckValue)
         + QStringLiteral("Download Separator: %1\n").arg(settingChar(s.DownloadSeparator))
         + QStringLiteral("Upload Separator: %1\n").arg(settingChar(s.UploadSeparator))
         + QStringLiteral("Upload Command: %1\n").arg(settingChar(s.UploadCommand));
}

QString portLabelText(const LinkSettings &s, bool portChosen)
{
    const QString format = portChosen ? QStringLiteral("%1 Baud: %2")
                                      : QStringLiteral("%1  Baud: %2");
    return format.arg(s.Port, QString::number(s.Baudrate));
}
