#pragma once

#include "settings/linksettings.h"
#include "settings/serialdevice.h"

#include <QByteArray>

#include <functional>

class LineInterrupt;
class SerialLink;

// The byte exchanges with the module. Every request starts with "~"; "}"
// asks the module to take a download, the upload command to send its content.

inline constexpr int DownloadReadTimeoutMs = 5000;
inline constexpr int UploadReadTimeoutMs = 1500;
inline constexpr unsigned char RequestByte = '~';
inline constexpr unsigned char DownloadCommand = '}';
inline constexpr unsigned char DownloadReady = 'R';
inline constexpr unsigned char PieceEnd = '\r';

// Where a download reports its progress; called on the downloading thread.
class DownloadProgress
{
public:
    virtual ~DownloadProgress() = default;
    virtual void setRange(int maximum) = 0;
    virtual void reset() = 0;
    virtual void setValue(int value) = 0;
};

// How a download ended, for those who want more than yes or no.
struct DownloadOutcome
{
    enum class End { Acknowledged, PortUnavailable, NoReady, NoAcknowledge, Interrupted };
    End end = End::PortUnavailable;
    SerialDevice::PortState problem;  // why the port could not be taken
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
};

// Opens the port, hands the record in settings.RecordText to the module piece
// by piece and returns whether the module acknowledged it. A triggered
// interrupt ends the exchange before the next byte goes out.
bool downloadToModule(const LinkSettings &settings, DownloadProgress &progress,
                      const LineInterrupt *interrupt = nullptr, DownloadOutcome *outcome = nullptr);

// A whole answer is 44 fields of 17 bytes and one final byte (749), sent in
// about 6.3 s at 1200 baud. A module that keeps talking far past that is not
// giving an answer: the receive stops at this many bytes, or once this long
// has passed, and the answer is judged as it stands.
inline constexpr int MaxAnswerBytes = 1024;
inline constexpr int MaxAnswerMs = 10000;

struct UploadAnswer
{
    bool cancelled = false;
    QByteArray bytes;
};

// Sends the upload request on an open link and collects the answer until a
// read brings nothing, or the answer outgrows its bounds. `afterEachRead`
// runs after every read and may abandon the receive by returning false.
UploadAnswer receiveUploadAnswer(SerialLink &link, char uploadCommand,
                                 const std::function<bool()> &afterEachRead);

struct UploadOutcome
{
    bool opened = false;
    SerialDevice::PortState problem;  // why the port could not be taken
    bool interrupted = false;
    UploadAnswer answer;
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
};

// The whole of a read-up or verify exchange on `settings.Port`: open, request,
// receive, close. A triggered interrupt ends it at once.
UploadOutcome uploadFromModule(const LinkSettings &settings, const std::function<bool()> &afterEachRead,
                               const LineInterrupt *interrupt = nullptr);
