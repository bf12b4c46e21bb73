#pragma once

#include "core/settings/linksettings.h"
#include "core/link/lineinterrupt.h"
#include "core/link/moduleexchange.h"
#include "core/plan/transferplan.h"

#include <QPointer>

#include <atomic>

class QProgressBar;

// The download's job, run on the window's transfer runner: it owns the port
// for the whole exchange and reports progress to the dialog's progress bar
// through calls queued to `relay`, an object of the bar's thread that
// outlives the job; a bar gone meanwhile is left alone.
class dlThread
{
public:
    dlThread(const LinkSettings &settings, const TransferPlan &plan, QProgressBar *bar, QObject *relay);

    bool result() const { return m_result; }
    // How the exchange ended; read once the job has ended.
    const ExchangeReport &report() const { return m_report; }
    // Ends a running exchange before its next byte; safe from any thread.
    void abandon();
    // The exchange itself; on the runner's thread.
    void run();

private:
    std::atomic<bool> m_result = false;
    ExchangeReport m_report;
    QPointer<QProgressBar> m_bar;  // looked at on its own thread alone
    QObject *m_relay;
    const LinkSettings m_settings;
    const TransferPlan m_plan;
    LineInterrupt m_interrupt;
};
