#pragma once

#include "core/settings/linksettings.h"
#include "core/link/moduleexchange.h"

#include <QDialog>

#include <functional>
#include <memory>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class dlThread;
class TransferPlan;
class TransferRunner;

// The download's progress dialog. It starts the worker at once, shows how far
// the record has gone, and reports the outcome: success closes by itself after
// two seconds, a failure waits for OK. Escape abandons a running download: the
// dialog closes once the worker has stopped, before its next byte.
class dload : public QDialog
{
    Q_OBJECT

public:
    // Called on the runner's thread once the exchange has ended, before the
    // dialog hears of it: what must be kept before the outcome is shown.
    using AfterExchange = std::function<void(const ExchangeReport &report)>;

    dload(TransferRunner &runner, const LinkSettings &settings, const TransferPlan &plan, QWidget *parent,
          AfterExchange after = {});
    ~dload() override;

    QProgressBar *progressBar() const { return m_progressBar; }
    QLabel *statusLabel() const { return m_status; }
    // Why a download failed, under the dialog's own text; hidden otherwise.
    QLabel *reasonLabel() const { return m_reason; }
    // How the download ended, once the dialog has closed.
    const ExchangeReport &report() const;
    // Whether the worker still runs.
    bool isRunning() const { return m_running; }

public slots:
    void dlcomplete();
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QLabel *m_picture;
    QLabel *m_status;
    QLabel *m_reason;
    QProgressBar *m_progressBar;
    QDialogButtonBox *m_buttonBox;
    bool m_simulated = false;
    bool m_running = false;
    bool m_closeAtEnd = false;  // abandoned: closes once the worker has stopped
    std::shared_ptr<dlThread> m_worker;  // the job's as much as the dialog's
};
