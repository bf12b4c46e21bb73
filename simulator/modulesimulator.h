#pragma once

#include "core/form/formvalues.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A stand-in for the module on a pseudo-terminal. The program opens the slave
// side like a serial port; the simulator answers on the master side. The
// terminal starts as a fresh one (echo, line editing, CR read as LF):
// setting up the line is the program's job, as with a real port.
//
//   "~" "}"            -> the ready reply ("R" and one more byte), then it stores
//                         44 CR-ended pieces and answers with the ack reply
//   "~" upload command -> preamble, the 44 fields each ended by CR, one final
//                         byte, then silence
//
// It keeps 44 fields of 16 bytes, 0xFF where nothing was written. Faults are
// set through the options.
struct SimulatorOptions
{
    bool paced = false;                        // true 1200 baud timing, 10 bits a byte
    int byteIntervalMs = 0;                    // when set, sends one byte per this many ms
    bool silent = false;                       // listens, never answers
    int silentRequests = 0;                    // the first this many requests get no answer, as from a module still starting
    QByteArray readyReply = QByteArrayLiteral("R>");
    QByteArray ackReply = QByteArrayLiteral("OK");
    QByteArray preamble;                       // sent before the upload fields
    std::optional<QByteArray> scriptedAnswer;  // sent instead of the upload answer
    // Close after this many bytes, both ways; once the host has taken them,
    // when the last one was the module's.
    qint64 hangUpAfter = -1;
    // A slow reader: once this many bytes have come from the host, take no
    // more for pauseMs, and let the host's writes wait meanwhile.
    qint64 pauseAfter = -1;
    int pauseMs = 0;
    // When set, a download whose checksum suffix is not the one this mode
    // gives (0..3: 8/16/24/32 bit sum, else a fixed character) over the
    // record cut at `recordSeparator` is refused with the ack reply's
    // counterpart, the refusal reply, and not stored.
    std::optional<char> expectedCheckSize;
    char recordSeparator = '|';
    QByteArray refusalReply = QByteArrayLiteral("EE");
    char uploadCommand = '{';
    // A download that stops this long is dropped: longer than any wait of the
    // tool (5 s for the byte after "R").
    int downloadIdleMs = 7000;
    QString linkPath;                          // a symbolic link to the slave; only a link is replaced
    QString portName;                          // a port name that stands for the module while it runs
    // Every byte on the line, as it passes; called on the simulator's thread.
    std::function<void(bool fromHost, unsigned char byte)> onByte;
};

class ModuleSimulator
{
public:
    static constexpr int FieldCount = LineEditCount;
    static constexpr int FieldWidth = 16;
    static constexpr unsigned char FinalByte = 0x03;

    explicit ModuleSimulator(SimulatorOptions options = {});
    ~ModuleSimulator();
    ModuleSimulator(const ModuleSimulator &) = delete;
    ModuleSimulator &operator=(const ModuleSimulator &) = delete;

    // Opens a fresh pseudo-terminal and starts answering; false with
    // errorString() when the system refuses. Stored fields outlive a stop.
    bool start();
    // Returns promptly whatever the module is doing, and hangs up.
    void stop();
    QString slavePath() const;
    QString errorString() const;

    QList<QByteArray> fields() const;
    void setFields(const QList<QByteArray> &fields);  // each cut or 0xFF-filled to 16
    int downloadsStored() const;
    QByteArray received() const;  // every byte from the host so far
    QByteArray sent() const;      // every byte to the host so far
    bool hasHungUp() const;
    bool isIdle() const;    // waiting for a request, every answer sent
    bool isPaused() const;  // a slow reader taking no bytes
    void resume();          // ends a slow reader's pause now
    // Raw content of the fields as the upload answer sends them.
    static QByteArray uploadAnswer(const QList<QByteArray> &fields, const QByteArray &preamble = {});

private:
    struct Engine;
    std::unique_ptr<Engine> d;
};

// "\r", "\n", "\\" and "\xHH" escapes in a command-line text, as bytes.
QByteArray decodeEscapes(const QString &text);
