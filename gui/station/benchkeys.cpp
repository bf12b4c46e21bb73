#include "benchkeys.h"

#include "portkeys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool takesText(const QObject *widget)
{
    if (const auto *box = qobject_cast<const QComboBox *>(widget))
        return box->isEditable();
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget);
}

} // namespace

BenchKeys::BenchKeys(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    m_gap.setSingleShot(true);
    m_gap.setInterval(ScanGapMs);
    connect(&m_gap, &QTimer::timeout, this, &BenchKeys::settle);
    // The application's filter sees a key before the focused widget does
    // (a table would take letters for its search).
    qApp->installEventFilter(this);
}

BenchKeys::~BenchKeys()
{
    qApp->removeEventFilter(this);
}

void BenchKeys::setActive(bool active)
{
    m_active = active;
    m_typed.clear();
    m_gap.stop();
}

bool BenchKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_active)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window || takesText(widget))
        return false;
    return take(*static_cast<QKeyEvent *>(event));
}

bool BenchKeys::take(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        if (m_typed.isEmpty())
            return false;  // the table's Enter opens a unit's entries
        m_gap.stop();
        const QString code = std::exchange(m_typed, {});
        if (code.size() == 1 && PortKeys::indexOf(code) >= 0)
            emit portKey(PortKeys::indexOf(code));
        else
            emit scanned(code);
        return true;
    }
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint() || (m_typed.isEmpty() && key.key() == Qt::Key_Space))
        return false;  // Space starts the focused tile
    m_typed += text;
    m_gap.start();
    return true;
}

// A pause after the keys: a port's key pressed alone starts its port; the
// start of a code that never got its Enter is dropped.
void BenchKeys::settle()
{
    const QString typed = std::exchange(m_typed, {});
    if (typed.size() == 1 && PortKeys::indexOf(typed) >= 0)
        emit portKey(PortKeys::indexOf(typed));
}
