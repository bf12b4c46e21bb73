#include "stationsetup.h"

#include "core/content/contentfile.h"
#include "core/label/labelsize.h"
#include "gui/dialogs/filedialog.h"
#include "gui/dialogs/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardPaths>

StationSetup::StationSetup(const JournalLocation &journal, const DeviceLookup &lookup, TemplateSource form, QWidget *parent)
    : QWidget(parent)
    , m_form(std::move(form))
{
    auto *layout = new QFormLayout(this);
    auto *journalName = new QLabel(journal.kind == JournalLocation::Kind::Off ? tr("nincs napló") : journal.shownName(), this);
    journalName->setObjectName(QStringLiteral("journal"));
    layout->addRow(tr("Napló:"), journalName);
    addTemplateRow(layout);
    m_manifest = new QLineEdit(this);
    m_manifest->setObjectName(QStringLiteral("manifest"));
    auto *chooseManifest = new QPushButton(tr("&Manifest..."), this);
    connect(chooseManifest, &QPushButton::clicked, this, [this] {
        const QString path = FileDialog::openFileName(this, tr("Manifest"), QStringLiteral("."), tr("CSV Files (*.csv)"));
        if (!path.isEmpty())
            m_manifest->setText(path);
    });
    auto *manifestRow = new QHBoxLayout;
    manifestRow->addWidget(m_manifest, 1);
    manifestRow->addWidget(chooseManifest);
    layout->addRow(tr("Egységek:"), manifestRow);
    m_portList = new QListWidget(this);
    m_portList->setObjectName(QStringLiteral("ports"));
    m_portList->setMaximumHeight(90);
    for (const PortEntry &entry : listPorts(lookup)) {
        auto *item = new QListWidgetItem(entry.product.isEmpty() ? entry.name : entry.name + QStringLiteral(" — ") + entry.product, m_portList);
        item->setData(Qt::UserRole, entry.name);
        item->setCheckState(Qt::Unchecked);
    }
    layout->addRow(tr("Portok:"), m_portList);
    // Any other port by its path, as the window's port dialog takes it: a
    // /dev/serial/by-id/ name, a simulator's link.
    m_portPath = new QLineEdit(this);
    m_portPath->setObjectName(QStringLiteral("portPath"));
    m_portPath->setPlaceholderText(tr("/dev/serial/by-id/…, /tmp/ttyUSB0"));
    auto *addPort = new QPushButton(tr("Port &hozzáadása"), this);
    addPort->setObjectName(QStringLiteral("addPort"));
    connect(addPort, &QPushButton::clicked, this, [this] { addPortPath(m_portPath->text().trimmed()); });
    connect(m_portPath, &QLineEdit::returnPressed, addPort, &QPushButton::click);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_portPath, 1);
    pathRow->addWidget(addPort);
    layout->addRow(QString(), pathRow);
    m_backup = new QLineEdit(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups"), this);
    m_backup->setObjectName(QStringLiteral("backup"));
    layout->addRow(tr("Mentések:"), m_backup);
    // Factory-fresh modules hold nothing to keep: a unit then takes the
    // write and the proof alone. A module is still written once per unit:
    // the claims see to that, not the backup's read.
    m_fresh = new QCheckBox(tr("Új modulok: mentés nélkül"), this);
    m_fresh->setObjectName(QStringLiteral("fresh"));
    connect(m_fresh, &QCheckBox::toggled, m_backup, &QWidget::setDisabled);
    layout->addRow(QString(), m_fresh);
    addLabelRows(layout);
    addCallRow(layout);
    m_begin = new QPushButton(tr("&Indítás"), this);
    m_begin->setObjectName(QStringLiteral("begin"));
    connect(m_begin, &QPushButton::clicked, this, &StationSetup::beginRequested);
    layout->addRow(QString(), m_begin);
    applyChoices(StationChoices::load());
    showTemplate();
}

// The template: the form as it stands when the batch starts, or a content
// file; "Űrlap" goes back to the form.
void StationSetup::addTemplateRow(QFormLayout *form)
{
    m_template = new QLabel(this);
    m_template->setObjectName(QStringLiteral("template"));
    auto *chooseTemplate = new QPushButton(tr("&Sablon fájlból..."), this);
    chooseTemplate->setObjectName(QStringLiteral("chooseTemplate"));
    connect(chooseTemplate, &QPushButton::clicked, this, &StationSetup::chooseTemplateFile);
    m_useForm = new QPushButton(tr("Ű&rlap"), this);
    m_useForm->setObjectName(QStringLiteral("useForm"));
    m_useForm->hide();
    connect(m_useForm, &QPushButton::clicked, this, [this] {
        m_file.reset();
        showTemplate();
    });
    auto *templateRow = new QHBoxLayout;
    templateRow->addWidget(m_template, 1);
    templateRow->addWidget(m_useForm);
    templateRow->addWidget(chooseTemplate);
    form->addRow(tr("Sablon:"), templateRow);
}

void StationSetup::chooseTemplateFile()
{
    const QString path = FileDialog::openFileName(this, tr("Sablon"), QStringLiteral("."), tr("T16 Files (*.t16)"));
    if (path.isEmpty())
        return;
    const ContentFile::LoadResult loaded = ContentFile::load(path, currentTemplate().form);
    if (loaded.status != ContentFile::LoadStatus::Loaded) {
        Message::critical(this, tr("Állomás"), tr("A sablon nem olvasható: %1").arg(path));
        return;
    }
    m_file = StationTemplate{loaded.values, ContentFile::displayName(path)};
    showTemplate();
}

StationTemplate StationSetup::currentTemplate() const
{
    return m_file ? *m_file : m_form();
}

void StationSetup::showTemplate()
{
    m_template->setText(m_file ? m_file->origin : tr("az űrlap: %1").arg(m_form().origin));
    m_useForm->setVisible(m_file.has_value());
}

// A label for each proven unit: as a PDF in a folder, or on a printer.
void StationSetup::addLabelRows(QFormLayout *form)
{
    m_autoLabels = new QCheckBox(tr("Címke minden igazolt egységhez"), this);
    m_autoLabels->setObjectName(QStringLiteral("autoLabels"));
    m_labelSize = new QComboBox(this);
    m_labelSize->setObjectName(QStringLiteral("labelSize"));
    for (const LabelSize &size : labelSizes())
        m_labelSize->addItem(size.id, size.id);
    m_labelFolder = new QLineEdit(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/labels"), this);
    m_labelFolder->setObjectName(QStringLiteral("labelFolder"));
    auto *labelRow = new QHBoxLayout;
    labelRow->addWidget(m_autoLabels);
    labelRow->addWidget(m_labelSize);
    labelRow->addWidget(m_labelFolder, 1);
    form->addRow(tr("Címkék (PDF):"), labelRow);
    m_printerName = new QLabel(tr("nincs: a címkék PDF-be kerülnek"), this);
    m_printerName->setObjectName(QStringLiteral("labelPrinter"));
    auto *choosePrinter = new QPushButton(tr("Ny&omtató..."), this);
    connect(choosePrinter, &QPushButton::clicked, this, &StationSetup::printerRequested);
    // A sheet that went back into the printer partly used goes on from here.
    m_firstPlace = new QSpinBox(this);
    m_firstPlace->setObjectName(QStringLiteral("firstPlace"));
    m_firstPlace->setRange(1, 99);
    m_firstPlace->setPrefix(tr("ív első szabad helye: "));
    connect(m_firstPlace, &QSpinBox::valueChanged, this, [this](int place) { emit firstPlaceChanged(place - 1); });
    auto *printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printerName, 1);
    printerRow->addWidget(m_firstPlace);
    printerRow->addWidget(choosePrinter);
    form->addRow(tr("Címkenyomtató:"), printerRow);
}

// How a finished port calls the technician; each way can be switched off.
void StationSetup::addCallRow(QFormLayout *form)
{
    m_callSound = new QCheckBox(tr("Hang"), this);
    m_callSound->setObjectName(QStringLiteral("callSound"));
    m_callAttention = new QCheckBox(tr("Ablak jelzése"), this);
    m_callAttention->setObjectName(QStringLiteral("callAttention"));
    m_titleCount = new QCheckBox(tr("Cserére várók a címsorban"), this);
    m_titleCount->setObjectName(QStringLiteral("titleCount"));
    auto *row = new QHBoxLayout;
    for (QCheckBox *box : {m_callSound, m_callAttention, m_titleCount}) {
        box->setChecked(true);
        row->addWidget(box);
    }
    row->addStretch(1);
    connect(m_callSound, &QCheckBox::toggled, this, &StationSetup::soundChanged);
    connect(m_callAttention, &QCheckBox::toggled, this, &StationSetup::attentionChanged);
    connect(m_titleCount, &QCheckBox::toggled, this, &StationSetup::titleCountChanged);
    form->addRow(tr("Hívás:"), row);
}

QString StationSetup::manifest() const
{
    return m_manifest->text();
}

QStringList StationSetup::ports() const
{
    QStringList ports;
    for (int i = 0; i < m_portList->count(); ++i) {
        if (m_portList->item(i)->checkState() == Qt::Checked)
            ports << m_portList->item(i)->data(Qt::UserRole).toString();
    }
    return ports;
}

// A typed port joins the list, ticked; one already there is ticked.
void StationSetup::addPortPath(const QString &path)
{
    if (path.isEmpty())
        return;
    m_portPath->clear();
    for (int i = 0; i < m_portList->count(); ++i) {
        if (m_portList->item(i)->data(Qt::UserRole).toString() == path) {
            m_portList->item(i)->setCheckState(Qt::Checked);
            return;
        }
    }
    auto *item = new QListWidgetItem(path, m_portList);
    item->setData(Qt::UserRole, path);
    item->setCheckState(Qt::Checked);
}

QString StationSetup::backupFolder() const
{
    return m_fresh->isChecked() ? QString() : m_backup->text();
}

bool StationSetup::autoLabels() const
{
    return m_autoLabels->isChecked();
}

QString StationSetup::labelSize() const
{
    return m_labelSize->currentData().toString();
}

QString StationSetup::labelFolder() const
{
    return m_labelFolder->text();
}

void StationSetup::setFirstPlace(int place)
{
    const QSignalBlocker quiet(m_firstPlace);
    m_firstPlace->setValue(place + 1);
}

void StationSetup::setLabelFolder(const QString &folder)
{
    m_labelFolder->setText(folder);
    m_autoLabels->setChecked(true);
}

void StationSetup::setPrinterName(const QString &name)
{
    m_printer = name;
    m_printerName->setText(name.isEmpty() ? tr("nincs: a címkék PDF-be kerülnek") : name);
    if (!name.isEmpty())
        m_autoLabels->setChecked(true);
}

bool StationSetup::titleCount() const
{
    return m_titleCount->isChecked();
}

void StationSetup::setOpening(bool opening)
{
    for (QWidget *child : findChildren<QWidget *>())
        child->setEnabled(!opening);
    if (!opening)
        m_backup->setDisabled(m_fresh->isChecked());
}

void StationSetup::applyChoices(const StationChoices &c)
{
    if (!c.manifest.isEmpty())
        m_manifest->setText(c.manifest);
    for (const QString &port : c.ports)
        addPortPath(port);  // ticked; a typed one of an earlier day comes back too
    if (!c.backupFolder.isEmpty())
        m_backup->setText(c.backupFolder);
    m_fresh->setChecked(c.fresh);
    if (!c.printer.isEmpty())
        setPrinterName(c.printer);
    m_autoLabels->setChecked(c.autoLabels);
    if (const int size = m_labelSize->findData(c.labelSize); size >= 0)
        m_labelSize->setCurrentIndex(size);
    if (!c.labelFolder.isEmpty())
        m_labelFolder->setText(c.labelFolder);
    m_callSound->setChecked(c.sound);
    m_callAttention->setChecked(c.attention);
    m_titleCount->setChecked(c.titleCount);
}

StationChoices StationSetup::choices() const
{
    StationChoices c;
    c.manifest = m_manifest->text();
    c.ports = ports();
    c.backupFolder = m_backup->text();
    c.fresh = m_fresh->isChecked();
    c.autoLabels = m_autoLabels->isChecked();
    c.labelSize = labelSize();
    c.labelFolder = m_labelFolder->text();
    c.printer = m_printer;
    c.sound = m_callSound->isChecked();
    c.attention = m_callAttention->isChecked();
    c.titleCount = m_titleCount->isChecked();
    return c;
}
