#include "setcom.h"

#include "gui/form/formcolours.h"
#include "gui/texts/windowtexts.h"
#include "core/settings/linksettings.h"
#include "core/port/portname.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QStandardItemModel>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace {

const char *const BaudRates[] = {"150", "200", "300", "600", "1200", "1800", "2400",
                                 "4800", "9600", "19200", "38400", "57600", "76800", "115200"};

// The port list, read again each time it drops down, so that an adapter
// plugged in while the dialog is open is there to choose.
class PortList : public QComboBox
{
public:
    PortList(std::function<void()> reread, QWidget *parent) : QComboBox(parent), m_reread(std::move(reread)) {}
    void showPopup() override
    {
        m_reread();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_reread;
};

bool isBuiltIn(const PortEntry &entry)
{
    return entry.name.startsWith(QLatin1String("COM"));
}

// How the hint line names a port: an adapter by its device, not by its long
// by-id name.
QString shortName(const PortEntry &entry)
{
    return isBuiltIn(entry) ? entry.name : QFileInfo(entry.device).fileName();
}

} // namespace

setcom::setcom(const QString &port, int baudrate, QWidget *parent, const DeviceLookup &lookup)
    : QDialog(parent)
    , m_lookup(lookup)
{
    setObjectName("setcom");
    resize(252, 146);

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    m_portLabel = new QLabel(this);
    m_portLabel->setObjectName("l_com");
    m_ports = new PortList([this] { readPorts(m_ports->currentText()); }, this);
    m_ports->setObjectName("comboBox");
    m_ports->setEditable(true);
    m_ports->setInsertPolicy(QComboBox::NoInsert);
    // Room for a /dev/serial/by-id name, and the whole of it as the tool tip.
    m_ports->setMinimumContentsLength(34);
    m_ports->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(m_ports, &QComboBox::editTextChanged, this, &setcom::portTyped);
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
    m_hint->setStyleSheet(colourStyle(formColours(palette()).hint));
    layout->addWidget(m_hint);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttonBox");
    buttons->setCenterButtons(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    readPorts(port);

    for (const char *rate : BaudRates)
        m_baudrates->addItem(QLatin1String(rate));
    const int current = m_baudrates->findText(QString::number(baudrate));
    m_baudrates->setCurrentIndex(current >= 0 ? current : 0);

    retranslateUi();
}

// The simulated module is named in the window's language, and stored by its
// one name.
QString setcom::port() const
{
    const QString text = m_ports->currentText();
    return WindowText::portFromShown(text);
}

int setcom::baudrate() const
{
    return m_baudrates->currentText().toInt();
}

// A port that cannot be opened now gives way to the first one that can;
// with none at all, nothing is current, so a transfer fails to open the port
// instead of talking to a module that is not there. A built-in port is
// listed only when it can be opened; an adapter that is busy or forbidden is
// listed, greyed, and the hint line says why.
void setcom::readPorts(const QString &wanted)
{
    m_entries = listPorts(m_lookup);
    const QSignalBlocker quiet(m_ports);
    m_ports->clear();
    auto *items = qobject_cast<QStandardItemModel *>(m_ports->model());
    int firstFree = -1;
    for (const PortEntry &entry : std::as_const(m_entries)) {
        const bool free = entry.state.access == SerialDevice::Access::Free;
        if (isBuiltIn(entry) && !free)
            continue;
        m_ports->addItem(entry.name);
        const int row = m_ports->count() - 1;
        QStringList tip = {adapterDescription(entry), entry.device, WindowText::portState(entry.state)};
        tip.removeAll(QString());
        m_ports->setItemData(row, tip.join(QLatin1Char('\n')), Qt::ToolTipRole);
        if (!free)
            items->item(row)->setEnabled(false);
        else if (firstFree < 0)
            firstFree = row;
    }
    m_ports->addItem(WindowText::shownPort(SimulatedModulePort));

    const int listed = m_ports->findText(WindowText::shownPort(wanted),
                                         Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (listed >= 0 && items->item(listed)->isEnabled()) {
        m_ports->setCurrentIndex(listed);
    } else if (listed < 0 && !wanted.isEmpty() && m_ports->isVisible()) {
        m_ports->setCurrentIndex(-1);  // what the technician typed stays
        m_ports->setEditText(wanted);
    } else {
        m_ports->setCurrentIndex(firstFree);
    }
    retranslateUi();
}

// A port typed in that the system does not have is named at once, before OK.
void setcom::portTyped(const QString &text)
{
    m_ports->setToolTip(text);
    const bool listed = m_ports->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0;
    const QString typed = listed || text.isEmpty() || QFileInfo::exists(SerialDevice::devicePath(text)) ? QString() : text;
    if (typed != m_typed) {
        m_typed = typed;
        retranslateUi();
    }
}

void setcom::retranslateUi()
{
    setWindowTitle(tr("Port options"));
    m_portLabel->setText(tr("COM Port:"));
    m_baudLabel->setText(tr("Baudrate:"));
    QStringList hints;
    const bool anyFree = std::any_of(m_entries.cbegin(), m_entries.cend(), [](const PortEntry &entry) {
        return entry.state.access == SerialDevice::Access::Free;
    });
    if (m_entries.isEmpty())
        hints << tr("Nem található soros port.");
    else if (!anyFree)
        hints << tr("Nincs szabad soros port.");
    const auto denied = std::find_if(m_entries.cbegin(), m_entries.cend(), [](const PortEntry &entry) {
        return entry.state.access == SerialDevice::Access::NoPermission;
    });
    if (denied != m_entries.cend())
        hints << tr("%1: nincs jogosultság").arg(shortName(*denied)) + WindowText::permissionFix(denied->state.permission);
    for (const PortEntry &entry : std::as_const(m_entries)) {
        if (entry.state.access == SerialDevice::Access::Busy)
            hints << WindowText::portState(entry.state);
    }
    if (!m_typed.isEmpty())
        hints << tr("%1: nem található").arg(m_typed);
    m_hint->setText(hints.join(QLatin1Char('\n')));
    m_hint->setVisible(!hints.isEmpty());
    // The dialog grows to hold the whole hint, its advice included: a wrapped
    // label's height is known only for a width, the width of the port row.
    const int width = m_portLabel->sizeHint().width() + m_ports->sizeHint().width() + layout()->spacing();
    m_hint->setMinimumHeight(hints.isEmpty() ? 0 : m_hint->heightForWidth(width));
    adjustSize();
}

void setcom::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}
