#include "answerprogress.h"

#include "gui/dialogs/progressvalue.h"
#include "core/link/lineinterrupt.h"
#include "core/link/moduleexchange.h"
#include "core/operations/transferrunner.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// The translation context of the texts below.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Transfers)
};

std::function<void(int)> &barObserver()
{
    static std::function<void(int)> observer;
    return observer;
}

constexpr int CancelWatchMs = 20;

} // namespace

AnswerProgress::AnswerProgress(QWidget *window, const QString &title, const QString &label, LineInterrupt &interrupt)
    : m_window(window)
    , m_title(title)
    , m_label(label)
    , m_interrupt(interrupt)
{
}

AnswerProgress::~AnswerProgress() = default;

void AnswerProgress::show()
{
    m_dialog = std::make_unique<QProgressDialog>(m_label, Texts::tr("Megszakítás"), 0, AnswerBytes, m_window);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setWindowTitle(m_title);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    // Cancel, Escape or a close of any kind ends the exchange: cancel()
    // alone sends no signal, so the dialog is also asked while the line is
    // quiet.
    QObject::connect(m_dialog.get(), &QProgressDialog::canceled, m_dialog.get(), [this] { m_interrupt.trigger(); });
    QObject::connect(m_dialog.get(), &QDialog::rejected, m_dialog.get(), [this] { m_interrupt.trigger(); });
    QObject::connect(&m_watch, &QTimer::timeout, m_dialog.get(), [this] { noticeCancel(); });
    m_watch.start(CancelWatchMs);
}

void AnswerProgress::noticeCancel()
{
    if (m_dialog && m_dialog->wasCanceled())
        m_interrupt.trigger();
}

void AnswerProgress::advance(int bytes)
{
    noticeCancel();
    if (m_dialog && m_pace.due() && !m_dialog->wasCanceled())
        showValue(std::min(bytes, AnswerBytes - 1));
}

void AnswerProgress::finish()
{
    if (m_dialog && m_dialog->isVisible())
        showValue(AnswerBytes);
    else
        close();
}

void AnswerProgress::close()
{
    m_watch.stop();
    m_dialog.reset();
}

void AnswerProgress::showValue(int value)
{
    setProgressValue(*m_dialog, value);
    if (barObserver())
        barObserver()(value);
}

void AnswerProgress::setObserver(std::function<void(int value)> observer)
{
    barObserver() = std::move(observer);
}

RelayedWatcher::RelayedWatcher(QObject *relay, std::function<void()> started, std::function<void(int)> received,
                               const LineInterrupt &interrupt)
    : m_relay(relay)
    , m_started(std::move(started))
    , m_received(std::move(received))
    , m_interrupt(interrupt)
{
}

void RelayedWatcher::started()
{
    TransferRunner::tell(m_relay, m_started);
}

bool RelayedWatcher::received(int bytes)
{
    TransferRunner::tell(m_relay, [received = m_received, bytes] { received(bytes); });
    return !m_interrupt.isTriggered();
}
