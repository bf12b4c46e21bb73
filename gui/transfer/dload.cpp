#include "dload.h"

#include "dlthread.h"
#include "core/operations/transferrunner.h"
#include "gui/texts/windowtexts.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int SuccessDisplayMs = 2000;
}

dload::dload(TransferRunner &runner, const LinkSettings &settings, const TransferPlan &plan, QWidget *parent,
             AfterExchange after)
    : QDialog(parent)
{
    setObjectName("dload");
    resize(262, 118);

    m_picture = new QLabel(this);
    m_picture->setObjectName("label");
    m_picture->setGeometry(10, 10, 71, 71);
    m_picture->setPixmap(QPixmap(QStringLiteral(":/img/img/icon_download.png")));

    m_status = new QLabel(this);
    m_status->setObjectName("kiiras");
    m_status->setGeometry(90, 20, 151, 51);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setWordWrap(true);
    // The failure text runs to four lines in this fixed box; the form's small
    // face keeps every one of them inside it.
    QFont statusFont = m_status->font();
    statusFont.setPixelSize(10);
    m_status->setFont(statusFont);

    m_reason = new QLabel(this);
    m_reason->setObjectName("reason");
    m_reason->setWordWrap(true);
    m_reason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_reason->hide();

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName("progressBar");
    m_progressBar->setGeometry(10, 90, 151, 21);
    m_progressBar->setValue(24);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_buttonBox->setObjectName("buttonBox");
    m_buttonBox->setGeometry(170, 90, 81, 21);
    m_buttonBox->setCenterButtons(true);
    m_buttonBox->setEnabled(false);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    retranslateUi();

    m_simulated = settings.Port == SimulatedModulePort;
    m_worker = std::make_shared<dlThread>(settings, plan, m_progressBar, &runner);
    QPointer<dload> self(this);
    m_running = runner.start([worker = m_worker, after = std::move(after)] {
        worker->run();
        if (after)
            after(worker->report());
    }, [self] {
        if (!self)
            return;
        self->m_running = false;
        if (self->m_closeAtEnd)
            self->QDialog::reject();
        else
            self->dlcomplete();
    });
    if (!m_running)  // the window starts one transfer at a time; this is a fault
        QTimer::singleShot(0, this, &dload::dlcomplete);
}

// A dialog that goes while its download runs leaves the job the worker's
// state and ends it before its next byte; the job releases the port.
dload::~dload()
{
    m_worker->abandon();
}

const ExchangeReport &dload::report() const
{
    return m_worker->report();
}

void dload::retranslateUi()
{
    setWindowTitle(tr("Betöltés"));
    m_status->setText(tr("Betöltés..."));
}

void dload::dlcomplete()
{
    m_buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    m_buttonBox->setEnabled(true);
    // Enter or Space closes the result, as any other box.
    QPushButton *ok = m_buttonBox->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    ok->setFocus(Qt::OtherFocusReason);
    if (m_worker->result()) {
        // Nothing real was written: the technician must not take this for a
        // configured module.
        m_status->setText(m_simulated ? tr("Sikeres betöltés.\nSzimulált modul: valódi eszköz nem lett írva.")
                                      : tr("Sikeres betöltés."));
        auto *closer = new QTimer(this);
        closer->setSingleShot(true);
        closer->setTimerType(Qt::PreciseTimer);  // a coarse one may fire a tenth of a second early
        connect(closer, &QTimer::timeout, this, &QDialog::accept);
        closer->start(SuccessDisplayMs);
    } else {
        m_status->setText(tr("Betöltés hiba.\nTipp: ellenőrizze az eszközt és a portbeállításokat."));
        // Why, below the fixed part of the dialog, which grows to hold it.
        if (const QString reason = WindowText::failureReason(m_worker->report()); !reason.isEmpty()) {
            constexpr int Margin = 10;
            const int width = 262 - 2 * Margin;
            m_reason->setText(reason);
            const int height = m_reason->heightForWidth(width);
            m_reason->setGeometry(Margin, 118, width, height);
            m_reason->show();
            resize(262, 118 + height + Margin);
        }
    }
}

// Escape abandons a running download: the worker stops before its next byte
// and lets the port go, and the dialog closes once it has, so that what the
// dialog reports is how the download really ended.
void dload::reject()
{
    if (!m_running) {
        QDialog::reject();
        return;
    }
    m_worker->abandon();
    m_closeAtEnd = true;
}

void dload::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void dload::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}
