#include "phoneimportdialog.h"

#include "core/phones/phonenumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QColor classColour(ImportClass kind)
{
    switch (kind) {
    case ImportClass::Import: return QColor(0xd8, 0xf5, 0xd0);
    case ImportClass::Warning: return QColor(0xff, 0xf2, 0xb3);
    case ImportClass::Error: break;
    }
    return QColor(0xf8, 0xd0, 0xd0);
}

} // namespace

PhoneImportDialog::PhoneImportDialog(const QString &contacts, const FormValues &form, QWidget *parent)
    : QDialog(parent)
    , m_text(contacts)
    , m_form(form)
    , m_region(new QComboBox(this))
    , m_preview(new QTableWidget(0, 4, this))
    , m_summary(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Telefonszámok importálása"));
    m_region->setObjectName("region");
    const QString region = defaultRegion(QLocale());
    for (const QString &code : numberRegions())
        m_region->addItem(QStringLiteral("%1 (+%2)").arg(code).arg(callingCode(code)), code);
    m_region->setCurrentIndex(m_region->findData(region));
    auto *choices = new QFormLayout;
    choices->addRow(tr("Ország a szám nélküli hívószámokhoz:"), m_region);
    if (!isVCardText(m_text)) {
        m_table = readContactTable(m_text);
        buildColumnChoice();
        choices->addRow(tr("Név oszlopa:"), m_nameColumn);
        choices->addRow(tr("Szám oszlopa:"), m_numberColumn);
        choices->addRow(QString(), m_header);
    }
    buildPermissions(choices);
    m_preview->setObjectName("preview");
    m_preview->setHorizontalHeaderLabels({tr("Név"), tr("Ahogy írva"), tr("Ahogy tárolva"), tr("Eredmény")});
    m_preview->horizontalHeader()->setStretchLastSection(true);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summary->setObjectName("summary");
    m_summary->setWordWrap(true);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Importálás"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_summary);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_region, &QComboBox::currentIndexChanged, this, &PhoneImportDialog::reread);
    connect(m_preview, &QTableWidget::itemChanged, this, &PhoneImportDialog::showSummary);
    resize(720, 480);
    reread();
}

// A table's columns, as its headings say or as guessed from its first row.
void PhoneImportDialog::buildColumnChoice()
{
    m_nameColumn = new QComboBox(this);
    m_nameColumn->setObjectName("nameColumn");
    m_numberColumn = new QComboBox(this);
    m_numberColumn->setObjectName("numberColumn");
    m_header = new QCheckBox(tr("Az első sor fejléc"), this);
    m_header->setObjectName("header");
    m_nameColumn->addItem(tr("(nincs)"), -1);
    const QStringList first = m_table.rows.value(0);
    for (int i = 0; i < m_table.width(); ++i) {
        const QString shown = tr("%1. oszlop: %2").arg(i + 1).arg(first.value(i).left(30));
        m_nameColumn->addItem(shown, i);
        m_numberColumn->addItem(shown, i);
    }
    m_nameColumn->setCurrentIndex(m_nameColumn->findData(m_table.columns.name));
    m_numberColumn->setCurrentIndex(std::max(0, m_numberColumn->findData(m_table.columns.number)));
    m_header->setChecked(m_table.columns.header);
    for (QComboBox *box : {m_nameColumn, m_numberColumn})
        connect(box, &QComboBox::currentIndexChanged, this, &PhoneImportDialog::reread);
    connect(m_header, &QCheckBox::toggled, this, &PhoneImportDialog::reread);
}

void PhoneImportDialog::buildPermissions(QFormLayout *layout)
{
    const char *const captions[4] = {QT_TR_NOOP("1-es bemenet riaszt"), QT_TR_NOOP("2-es bemenet riaszt"),
                                     QT_TR_NOOP("3-as kimenetet vezérli"), QT_TR_NOOP("4-es kimenetet vezérli")};
    auto *row = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        m_boxes[i] = new QCheckBox(tr(captions[i]), this);
        m_boxes[i]->setObjectName(QStringLiteral("permission%1").arg(i + 1));
        row->addWidget(m_boxes[i]);
    }
    layout->addRow(tr("Az importált számok:"), row);
}

void PhoneImportDialog::reread()
{
    QList<Contact> contacts;
    if (isVCardText(m_text)) {
        contacts = readVCards(m_text);
    } else if (!m_table.badRow) {
        const ContactColumns columns{m_nameColumn->currentData().toInt(), m_numberColumn->currentData().toInt(), m_header->isChecked()};
        contacts = tableContacts(m_table, columns);
    }
    m_entries = classifyContacts(contacts, m_form, m_region->currentData().toString());
    fillTable();
    showSummary();
}

void PhoneImportDialog::fillTable()
{
    const QSignalBlocker quiet(m_preview);
    m_preview->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const ImportEntry &entry = m_entries[row];
        const QStringList cells = {entry.contact.name, entry.contact.written, entry.stored, reasonText(entry.reason)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setBackground(classColour(entry.kind()));
            item->setForeground(Qt::black);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_preview->setItem(row, column, item);
        }
        if (entry.kind() == ImportClass::Import) {
            m_preview->item(row, 0)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            m_preview->item(row, 0)->setCheckState(Qt::Checked);
        }
    }
    m_preview->resizeColumnsToContents();
}

void PhoneImportDialog::showSummary()
{
    const ImportCounts counts = countClasses(m_entries);
    const qsizetype chosen = chosenNumbers().size();
    const qsizetype free = freeTelephoneRows(m_form).size();
    QString text = m_table.badRow ? tr("A(z) %1. sorban kezdődő idézőjel nincs lezárva; a táblázat nem olvasható.").arg(m_table.badRow)
                                  : tr("%1 importálható, %2 figyelmeztetés, %3 hiba. Kiválasztva: %4, szabad sor: %5.")
                                        .arg(counts.imports).arg(counts.warnings).arg(counts.errors).arg(chosen).arg(free);
    if (chosen > free)
        text += u' ' + tr("Több szám van kiválasztva, mint ahány szabad sor van: válassza ki, melyek kerüljenek be.");
    m_summary->setText(text);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(chosen > 0 && chosen <= free);
}

QString PhoneImportDialog::reasonText(ImportReason reason) const
{
    switch (reason) {
    case ImportReason::None: return tr("importálható");
    case ImportReason::DuplicateInFile: return tr("figyelmeztetés: már szerepelt a fájlban");
    case ImportReason::AlreadyInForm: return tr("figyelmeztetés: már az űrlapon van");
    case ImportReason::Landline: return tr("figyelmeztetés: vezetékes szám, nem mobil");
    case ImportReason::NotANumber: return tr("hiba: nem telefonszám");
    case ImportReason::TooLong: return tr("hiba: hosszabb a mező 14 jegyénél");
    }
    return {};
}

QStringList PhoneImportDialog::chosenNumbers() const
{
    QStringList numbers;
    for (int row = 0; row < m_entries.size(); ++row) {
        const QTableWidgetItem *item = m_preview->item(row, 0);
        if (m_entries[row].kind() == ImportClass::Import && item && item->checkState() == Qt::Checked)
            numbers << m_entries[row].stored;
    }
    return numbers;
}

ImportPermissions PhoneImportDialog::permissions() const
{
    return {m_boxes[0]->isChecked(), m_boxes[1]->isChecked(), m_boxes[2]->isChecked(), m_boxes[3]->isChecked()};
}
