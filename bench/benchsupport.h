#pragma once

// What the benchmarks share: a tavir340-sim of their own, the form they
// transfer, and the processor time of the whole process.

#include "core/form/formvalues.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <ctime>

// Started on a fresh pseudo-terminal, stopped when this goes.
class SimulatorProcess
{
public:
    SimulatorProcess(const QString &program, const QStringList &arguments)
    {
        m_process.setProgram(program);
        m_process.setArguments(arguments);
        m_process.start();
        m_process.waitForReadyRead(5000);
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimulatorProcess()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
};

// The longest a 10 ms timer waited for the event loop while this lives:
// how long the thread's own events waited at worst.
class EventLoopGaps
{
public:
    EventLoopGaps()
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_worstNs = std::max(m_worstNs, m_gap.nsecsElapsed());
            m_gap.restart();
        });
        m_tick.start(10);
        m_gap.start();
    }
    double worstMs() const { return double(m_worstNs) / 1e6; }

private:
    QTimer m_tick;
    QElapsedTimer m_gap;
    qint64 m_worstNs = 0;
};

inline double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Every visible field and every telephone number filled in.
inline FormValues benchForm()
{
    FormValues form = initialFormValues();
    const QStringList visible = {"36309888000", "1234", "0042", "KAPU 1", "1", "AJTO", "ABLAK", "30",
                                 "KI3 BE", "KI4 BE", "KI3 KI", "KI4 KI", "BE1 BE", "BE2 BE",
                                 "BE1 KI", "BE2 KI"};
    for (int i = 0; i < visible.size(); ++i)
        form.texts[i] = visible[i];
    for (int n = 0; n < 16; ++n)
        form.texts[28 + n] = QStringLiteral("3620%1").arg(1000000 + n);
    return form;
}
