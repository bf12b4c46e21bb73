#pragma once

#include <QString>

// Everything the tool needs besides the form: how to reach the module, the
// protocol characters, the last device record and the current content file.
// It starts from these defaults on every run and is never stored.
struct LinkSettings
{
    QString Port = QStringLiteral("COM1");
    qint32 Baudrate = 1200;        // shown only; the line always runs at 1200
    char CheckSize = 0;            // 0..3: 8/16/24/32bit sum; else a fixed character
    char AckChar = 'O';
    qint32 SerialTimeout = 2000;   // shown only
    qint32 CheckValue = 0;         // 0: no checksum, 1: checksum appended
    char DownloadSeparator = '|';
    char UploadSeparator = '|';    // shown and edited only
    char UploadCommand = '{';
    QString RecordText;
    QString FileName;
    QString FilePath;
};

// What CheckSize stands for: the sum of the record's bytes modulo 8, 16, 24
// or 32, or any other value as a fixed character in the checksum's place.
enum class ChecksumMode { Sum8, Sum16, Sum24, Sum32, Fixed };
ChecksumMode checksumMode(char checkSize);
// The CheckSize of a sum mode.
char checkSizeOf(ChecksumMode mode);
// The modulus of a sum mode: 8, 16, 24 or 32.
int checksumModulus(ChecksumMode mode);

// The port id of the program's own simulated module: no device is written or
// checked while it is the port. The window shows it in its own words.
inline const QString SimulatedModulePort = QStringLiteral("simulated-module");

// A settings character as the user sees it.
QChar settingChar(char byte);
// The byte a dialog's text stands for: its first character in Latin-1, and
// "?" for a character that Latin-1 lacks.
char settingByte(const QString &text);
