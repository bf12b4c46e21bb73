#pragma once

#include "core/form/formvalues.h"
#include "core/record/contentrecord.h"
#include "core/record/protocolbytes.h"
#include "core/settings/linksettings.h"
#include "core/port/exclusiveport.h"

#include <QByteArray>

#include <functional>

class LineInterrupt;
class SerialLink;
class TransferPlan;

// The byte exchanges with the module. Every request starts with "~"; "}"
// asks the module to take a download, the upload command to send its content.

inline constexpr int DownloadReadTimeoutMs = 5000;
inline constexpr int UploadReadTimeoutMs = 1500;

// How an exchange with a module ended, for each front to phrase.
enum class Ending {
    Done,             // the module did what was asked (verify: it holds the form)
    Refused,          // the form was refused before the port was touched
    PortUnavailable,  // the port could not be taken: missing, busy or forbidden
    LineSetupFailed,  // the port was taken but would not take the line settings
    NoReady,          // download: no "R" after the request
    NoAcknowledge,    // download: no acknowledge after the record
    BadAnswer,        // read-up, verify: the answer does not hold the form's fields
    Mismatch,         // verify: the module holds another configuration
    Cancelled,        // the technician cancelled
    Interrupted,      // the line interrupt fired: the module's content is unknown
};

// What every exchange reports besides how it ended.
struct ExchangeReport
{
    Ending ending = Ending::PortUnavailable;
    SerialDevice::PortState port;  // why the port could not be taken
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
    double seconds = 0;
    bool lineClosed = false;  // the other side hung up, after the bytes above
    QByteArray unexpected;    // what came where "R" or the acknowledge was awaited
};

// Where a download reports its progress; called on the downloading thread.
class DownloadProgress
{
public:
    virtual ~DownloadProgress() = default;
    virtual void setRange(int maximum) = 0;
    virtual void reset() = 0;
    virtual void setValue(int value) = 0;
};

// Opens `link` on settings.Port, hands the plan's pieces to the module one by
// one and says whether the module acknowledged them. The link's interrupt
// ends the exchange before the next byte goes out. The port is released
// before this returns.
ExchangeReport downloadToModule(SerialLink &link, const LinkSettings &settings, const TransferPlan &plan,
                                DownloadProgress &progress);

// A whole answer is 44 fields of 17 bytes and one final byte (749), sent in
// about 6.3 s at 1200 baud. A module that keeps talking far past that is not
// giving an answer: the receive stops at this many bytes, or once this long
// has passed, and the answer is judged as it stands.
inline constexpr int WholeAnswerBytes = LineEditCount * (RecordItemWidth + 1) + 1;
inline constexpr int MaxAnswerBytes = 1024;
inline constexpr int MaxAnswerMs = 10000;
// The progress bar's end: a whole answer and one, so that the bar is full
// only once the answer has been judged.
inline constexpr int AnswerBytes = WholeAnswerBytes + 1;

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
