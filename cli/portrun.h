#pragma once

#include "command.h"

#include <QString>
#include <QStringList>

#include <functional>

class LineInterrupt;

// How far one port's transfer has come, drawn as a bar per port on standard
// error while it is a terminal. Safe from every port's thread.
class ProgressBars
{
public:
    ProgressBars(const QStringList &ports, bool shown);
    ~ProgressBars();
    ProgressBars(const ProgressBars &) = delete;
    ProgressBars &operator=(const ProgressBars &) = delete;

    void update(int row, const QString &stage, int value, int maximum);

private:
    struct State;
    std::unique_ptr<State> d;
};

// One transfer on one port, run on a transfer runner of its own. The interrupt fires
// at Ctrl+C; the job ends at once and releases its port.
using PortJob = std::function<Result(int row, const QString &port, const LineInterrupt &interrupt, ProgressBars &bars)>;

// Runs the job on every port at once and returns each port's result, in the
// order of `ports`. Ctrl+C ends every transfer; a second one ends the program.
QList<Result> runOnPorts(const QStringList &ports, bool showProgress, const PortJob &job);
