#pragma once

#include "core/settings/linksettings.h"
#include "core/link/moduleexchange.h"

#include <QDialog>

#include <memory>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class dlThread;
class TransferPlan;
class TransferRunner;

// The download's progress dialog. It starts the worker at once, shows how far
// the record has gone, and reports the outcome: success closes by itself after
// two seconds, a failure waits for OK. Escape abandons a running download.
class dload : public QDialog
{
    Q_OBJECT

public:
    dload(TransferRunner &runner, const LinkSettings &settings, const TransferPlan &plan, QWidget *parent);
    ~dload() override;

    QProgressBar *progressBar() const { return m_progressBar; }
    QLabel *statusLabel() const { return m_status; }
    // Why a download failed, under the dialog's own text; hidden otherwise.
    QLabel *reasonLabel() const { return m_reason; }
    // How the download ended, once the dialog has closed.
    const ExchangeReport &report() const;
    // When it ended (milliseconds since 1970): the line's end, not the
    // moment the technician closed the dialog.
    qint64 endedMs() const { return m_endedMs; }

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
    qint64 m_endedMs = 0;
    TransferRunner &m_runner;
    std::unique_ptr<dlThread> m_worker;
};
