#pragma once

#include "core/settings/linksettings.h"
#include "core/link/lineinterrupt.h"
#include "core/link/moduleexchange.h"
#include "core/plan/transferplan.h"


#include <atomic>

class dload;

// The download's job, run on the window's transfer runner: it owns the port
// for the whole exchange and reports progress to the dialog's progress bar
// through queued calls, never touching the widget itself.
class dlThread
{
public:
    dlThread(const LinkSettings &settings, const TransferPlan &plan, dload *owner);

    bool result() const { return m_result; }
    // How the exchange ended; read once the thread has finished.
    const ExchangeReport &report() const { return m_report; }
    // Ends a running exchange before its next byte; safe from any thread.
    void abandon();
    // The exchange itself; on the runner's thread.
    void run();

private:
    std::atomic<bool> m_result = false;
    ExchangeReport m_report;
    dload *m_owner;
    const LinkSettings m_settings;
    const TransferPlan m_plan;
    LineInterrupt m_interrupt;
};
