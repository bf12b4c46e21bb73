#include "setcom.h"

#include "settings/linksettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace {
const char *const BaudRates[] = {"150", "200", "300", "600", "1200", "1800", "2400",
                                 "4800", "9600", "19200", "38400", "57600", "76800", "115200"};
}

setcom::setcom(const QString &port, int baudrate, QWidget *parent, const DeviceLookup &lookup)
    : QDialog(parent)
    , m_scan(scanPorts(lookup))
{
    setObjectName("setcom");
    resize(252, 146);

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    m_portLabel = new QLabel(this);
    m_portLabel->setObjectName("l_com");
    m_ports = new QComboBox(this);
    m_ports->setObjectName("comboBox");
    m_ports->setEditable(true);
    m_ports->setInsertPolicy(QComboBox::NoInsert);
    m_baudLabel = new QLabel(this);
    m_baudLabel->setObjectName("l_baud");
    m_baudrates = new QComboBox(this);
    m_baudrates->setObjectName("baudrate");
    m_baudrates->setEnabled(false);
    grid->addWidget(m_portLabel, 0, 0);
    grid->addWidget(m_ports, 0, 1);
    grid->addWidget(m_baudLabel, 1, 0);
    grid->addWidget(m_baudrates, 1, 1);
    grid->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Fixed), 2, 1);
    layout->addLayout(grid);

    m_hint = new QLabel(this);
    m_hint->setObjectName("permissionHint");
    m_hint->setWordWrap(true);
    m_hint->setStyleSheet(QStringLiteral("color: rgb(170, 0, 0);"));
    m_hint->setVisible(!m_scan.deniedPort.isEmpty() || m_scan.ports.isEmpty() || !m_scan.busy.isEmpty());
    layout->addWidget(m_hint);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttonBox");
    buttons->setCenterButtons(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // A port that cannot be opened now gives way to the first one that can;
    // with none at all, nothing is current, so a transfer fails to open the
    // port instead of talking to a module that is not there.
    for (const QString &name : std::as_const(m_scan.ports))
        m_ports->addItem(name);
    m_ports->addItem(SimulatedModulePort);
    const int listed = m_ports->findText(port, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    m_ports->setCurrentIndex(listed >= 0 ? listed : m_scan.ports.isEmpty() ? -1 : 0);

    for (const char *rate : BaudRates)
        m_baudrates->addItem(QLatin1String(rate));
    const int current = m_baudrates->findText(QString::number(baudrate));
    m_baudrates->setCurrentIndex(current >= 0 ? current : 0);

    retranslateUi();
}

QString setcom::port() const
{
    return m_ports->currentText();
}

int setcom::baudrate() const
{
    return m_baudrates->currentText().toInt();
}

void setcom::retranslateUi()
{
    setWindowTitle(tr("Port options"));
    m_portLabel->setText(tr("COM Port:"));
    m_baudLabel->setText(tr("Baudrate:"));
    QStringList hints;
    if (m_scan.ports.isEmpty())
        hints << tr("Nem található soros port.");
    if (!m_scan.deniedPort.isEmpty())
        hints << tr("%1: nincs jogosultság. A felhasználónak a(z) „%2” csoport tagjának kell lennie.")
                     .arg(m_scan.deniedPort, m_scan.deniedGroup);
    hints << m_scan.busy;
    m_hint->setText(hints.join(QLatin1Char('\n')));
}

void setcom::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}
