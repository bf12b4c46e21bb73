#include "porttile.h"

#include "portkeys.h"

#include "portrunner.h"
#include "stationtexts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

// Dark text on light tints: at least 4.5:1 against each tint, in a light
// palette and a dark one alike, since the tile sets both.
QColor tint(int tone)
{
    switch (tone) {
    case 1: return QColor(0xc8, 0xf0, 0xc8);  // proven
    case 2: return QColor(0xf8, 0xc8, 0xc8);  // failed
    case 3: return QColor(0xff, 0xe4, 0xb0);  // needs the technician
    default: return {};
    }
}

} // namespace

PortTile::PortTile(int key, const QString &port, const QString &adapter, QWidget *parent)
    : QFrame(parent)
    , m_key(key)
{
    setObjectName(QStringLiteral("tile_") + port);
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setMinimumWidth(220);
    auto *layout = new QVBoxLayout(this);
    const QString keyText = PortKeys::text(key - 1).isEmpty() ? QString() : PortKeys::text(key - 1) + QStringLiteral("  ");
    m_title = new QLabel(keyText + (adapter.isEmpty() ? port : port + QStringLiteral(" — ") + adapter), this);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setWordWrap(true);
    m_unit = new QLabel(this);
    m_unit->setObjectName(QStringLiteral("unit"));
    QFont big = m_unit->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);  // readable at arm's length, a unit of 20 characters still whole
    big.setBold(true);
    m_unit->setFont(big);
    m_unit->setMinimumHeight(QFontMetrics(big).height());
    m_stage = new QLabel(this);
    m_stage->setObjectName(QStringLiteral("stage"));
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setWordWrap(true);
    // Room for the longest result (a failure with its fields, the next key)
    // at the tile's narrowest, so that the window never cuts it.
    m_result->setMinimumHeight(m_result->fontMetrics().lineSpacing() * 8);
    m_elapsed = new QLabel(this);
    m_elapsed->setObjectName(QStringLiteral("elapsed"));
    m_journalWait = new QLabel(tr("A napló nem válaszol; a port vár rá."), this);
    m_journalWait->setObjectName(QStringLiteral("journalWait"));
    m_journalWait->setWordWrap(true);
    m_journalWait->hide();
    for (QWidget *widget : std::initializer_list<QWidget *>{m_title, m_unit, m_stage, m_bar, m_result, m_elapsed, m_journalWait})
        layout->addWidget(widget);
    layout->addStretch(1);
    m_ticker.setInterval(500);  // the time, to a tenth, twice a second
    connect(&m_ticker, &QTimer::timeout, this, &PortTile::showElapsed);
    showWaiting();
}

void PortTile::showWaiting()
{
    m_stage->clear();
    m_bar->setValue(0);
    const QString key = PortKeys::text(m_key - 1).isEmpty() ? tr("Szóköz") : PortKeys::text(m_key - 1);
    setResult(tr("Helyezze be a következő modult, majd nyomja meg: %1").arg(key), Tone::Neutral);
}

void PortTile::showClaimed(const QString &unit)
{
    m_unit->setText(unit);
    m_clock.start();
    m_ticker.start();
    setResult(QString(), Tone::Neutral);
}

void PortTile::showProgress(Stage stage, int value, int maximum)
{
    if (const QString text = StationText::stage(stage); text != m_stage->text())
        m_stage->setText(text);
    m_bar->setMaximum(std::max(1, maximum));
    m_bar->setValue(value);
}

void PortTile::showTurn(const PortTurn &turn)
{
    m_ticker.stop();
    showElapsed();
    m_stage->clear();
    switch (turn.kind) {
    case ClaimedUnit::Kind::NoneLeft:
        m_unit->clear();
        setResult(tr("Nincs több egység ehhez a porthoz."), Tone::Neutral);
        return;
    case ClaimedUnit::Kind::JournalRefused:
        setResult(tr("✖ A napló nem fogadta a foglalást; semmi sem lett elküldve."), Tone::Bad);
        return;
    case ClaimedUnit::Kind::Taken:
        break;
    }
    const UnitState state = turn.outcome.state;
    const Tone tone = state == UnitState::Proven ? Tone::Good
                    : state == UnitState::Failed || state == UnitState::NotWritten ? Tone::Bad : Tone::Warning;
    const QString next = PortKeys::text(m_key - 1).isEmpty() ? tr("Szóköz") : PortKeys::text(m_key - 1);
    m_unacknowledged = tone == Tone::Bad;
    const QString then = m_unacknowledged ? tr("Nyugtázás: %1, majd a következő modul: %1").arg(next) : tr("Következő modul: %1").arg(next);
    m_outcome = StationText::outcome(turn.outcome);
    setResult(m_outcome + QLatin1Char('\n') + then, tone);
}

bool PortTile::acknowledge()
{
    if (!m_unacknowledged)
        return false;
    m_unacknowledged = false;
    const QString key = PortKeys::text(m_key - 1).isEmpty() ? tr("Szóköz") : PortKeys::text(m_key - 1);
    setResult(m_outcome + QLatin1Char('\n') + tr("Nyugtázva. Következő modul: %1").arg(key),
              Tone::Neutral);
    return true;
}

QString PortTile::resultText() const
{
    return m_result->text();
}

void PortTile::addNote(const QString &note)
{
    m_result->setText(m_result->text() + QLatin1Char('\n') + note);
}

void PortTile::showJournalWait(bool waiting)
{
    if (m_journalWait->isVisibleTo(this) != waiting)
        m_journalWait->setVisible(waiting);
}

void PortTile::setResult(const QString &text, Tone tone)
{
    m_result->setText(text);
    QPalette look = parentWidget() ? parentWidget()->palette() : palette();
    if (tone != Tone::Neutral) {
        look.setColor(QPalette::Window, tint(int(tone)));
        look.setColor(QPalette::WindowText, Qt::black);
    }
    setPalette(look);
}

void PortTile::showElapsed()
{
    if (m_clock.isValid())
        m_elapsed->setText(tr("%1 mp").arg(m_clock.elapsed() / 1000.0, 0, 'f', 1));
}

void PortTile::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        emit startRequested();
        return;
    }
    QFrame::keyPressEvent(event);
}
