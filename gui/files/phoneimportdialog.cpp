#include "phoneimportdialog.h"

#include "core/phones/phonenumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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

constexpr int PermissionCount = 4;

// A permission a table of this program's gave the number.
bool fromFile(const ImportPermissions &p, int permission)
{
    const bool on[PermissionCount] = {p.alarmInput1, p.alarmInput2, p.controlOutput3, p.controlOutput4};
    return on[permission];
}
const char *const PermissionCaptions[PermissionCount] = {
    QT_TRANSLATE_NOOP("PhoneImportDialog", "1-es bemenet riaszt"), QT_TRANSLATE_NOOP("PhoneImportDialog", "2-es bemenet riaszt"),
    QT_TRANSLATE_NOOP("PhoneImportDialog", "3-as kimenetet vezérli"), QT_TRANSLATE_NOOP("PhoneImportDialog", "4-es kimenetet vezérli")};

} // namespace

PhoneImportDialog::PhoneImportDialog(const QByteArray &contacts, const FormValues &form, QWidget *parent)
    : QDialog(parent)
    , m_bytes(contacts)
    , m_form(form)
    , m_encoding(new QComboBox(this))
    , m_region(new QComboBox(this))
    , m_search(new QLineEdit(this))
    , m_preview(new QTableWidget(0, FirstPermissionColumn + PermissionCount, this))
    , m_summary(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Telefonszámok importálása"));
    m_read = readContacts(m_bytes);
    auto *choices = new QFormLayout;
    buildChoices(choices);
    if (!m_read.vCard && m_read.problem != ContactsRead::Problem::UnterminatedQuote)
        buildColumnChoice(choices);
    buildPermissions(choices);
    m_preview->setObjectName("preview");
    m_preview->setHorizontalHeaderLabels({tr("Név"), tr("Ahogy írva"), tr("Ahogy tárolva"), tr("Típus"), tr("Eredmény"),
                                          tr("Be 1"), tr("Be 2"), tr("Ki 3"), tr("Ki 4")});
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
    connect(m_preview, &QTableWidget::itemChanged, this, &PhoneImportDialog::showSummary);
    resize(860, 540);
    reread();
}

// The encoding the file was read in (or another), the country for numbers
// without one, a search and select all/none.
void PhoneImportDialog::buildChoices(QFormLayout *layout)
{
    m_encoding->setObjectName("encoding");
    const QString found = m_read.text.encoding;
    m_encoding->addItem(m_read.text.detected ? tr("%1 (a fájl bájtjaiból)").arg(found) : found, found);
    for (const QString &encoding : contactEncodings())
        if (encoding != found)
            m_encoding->addItem(encoding, encoding);
    connect(m_encoding, &QComboBox::currentIndexChanged, this, [this] {
        ContactChoice choice;
        choice.encoding = m_encoding->currentData().toString();
        m_read = readContacts(m_bytes, choice);
        reread();
    });
    layout->addRow(tr("Kódolás:"), m_encoding);
    m_region->setObjectName("region");
    const QString region = formRegion(m_form);
    for (const QString &code : numberRegions())
        m_region->addItem(QStringLiteral("%1 (+%2)").arg(code).arg(callingCode(code)), code);
    m_region->setCurrentIndex(m_region->findData(region));
    connect(m_region, &QComboBox::currentIndexChanged, this, &PhoneImportDialog::reread);
    layout->addRow(tr("Ország a szám nélküli hívószámokhoz (az űrlap SMS-központja szerint):"), m_region);
    m_search->setObjectName("search");
    m_search->setPlaceholderText(tr("név vagy szám"));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, this, &PhoneImportDialog::filter);
    auto *all = new QPushButton(tr("&Mind"), this);
    all->setObjectName("selectAll");
    auto *none = new QPushButton(tr("&Egyik sem"), this);
    none->setObjectName("selectNone");
    connect(all, &QPushButton::clicked, this, [this] { setAll(Qt::Checked); });
    connect(none, &QPushButton::clicked, this, [this] { setAll(Qt::Unchecked); });
    auto *row = new QHBoxLayout;
    row->addWidget(m_search, 1);
    row->addWidget(all);
    row->addWidget(none);
    layout->addRow(tr("Keresés:"), row);
}

// A table's columns, as its headings say or as guessed from its first row.
void PhoneImportDialog::buildColumnChoice(QFormLayout *layout)
{
    m_nameColumn = new QComboBox(this);
    m_nameColumn->setObjectName("nameColumn");
    m_numberColumn = new QComboBox(this);
    m_numberColumn->setObjectName("numberColumn");
    m_header = new QCheckBox(tr("Az első sor fejléc"), this);
    m_header->setObjectName("header");
    const ContactColumns &found = m_read.table.columns;
    m_nameColumn->addItem(found.name.isEmpty() ? tr("(nincs)") : tr("(a megtalált, %1 oszlop)").arg(found.name.size()), -2);
    if (!found.name.isEmpty())
        m_nameColumn->addItem(tr("(nincs)"), -1);
    m_numberColumn->addItem(tr("(a megtalált, %1 oszlop)").arg(found.numbers.size()), -2);
    const QStringList first = m_read.table.rows.value(0);
    for (int i = 0; i < m_read.table.width(); ++i) {
        const QString shown = tr("%1. oszlop: %2").arg(i + 1).arg(first.value(i).left(30));
        m_nameColumn->addItem(shown, i);
        m_numberColumn->addItem(shown, i);
    }
    m_header->setChecked(found.header);
    for (QComboBox *box : {m_nameColumn, m_numberColumn})
        connect(box, &QComboBox::currentIndexChanged, this, &PhoneImportDialog::reread);
    connect(m_header, &QCheckBox::toggled, this, &PhoneImportDialog::reread);
    layout->addRow(tr("Név oszlopa:"), m_nameColumn);
    layout->addRow(tr("Szám oszlopa:"), m_numberColumn);
    layout->addRow(QString(), m_header);
}

// What every chosen number may do, set on every row at once; each row's own
// boxes in the table.
void PhoneImportDialog::buildPermissions(QFormLayout *layout)
{
    auto *row = new QHBoxLayout;
    for (int i = 0; i < PermissionCount; ++i) {
        m_boxes[i] = new QCheckBox(tr(PermissionCaptions[i]), this);
        m_boxes[i]->setObjectName(QStringLiteral("permission%1").arg(i + 1));
        connect(m_boxes[i], &QCheckBox::toggled, this, [this, i](bool on) { setPermissionForAll(i, on); });
        row->addWidget(m_boxes[i]);
    }
    layout->addRow(tr("Mind:"), row);
}

std::optional<ContactColumns> PhoneImportDialog::chosenColumns() const
{
    if (!m_numberColumn)
        return std::nullopt;
    ContactColumns columns = m_read.table.columns;
    if (const int name = m_nameColumn->currentData().toInt(); name != -2)
        columns.name = name < 0 ? QList<int>{} : QList<int>{name};
    if (const int number = m_numberColumn->currentData().toInt(); number != -2) {
        columns.numbers = {number};
        columns.types = {-1};
    }
    columns.header = m_header->isChecked();
    return columns;
}

void PhoneImportDialog::reread()
{
    ContactChoice choice;
    choice.encoding = m_encoding->currentData().toString();
    choice.columns = chosenColumns();
    const ContactsRead read = readContacts(m_bytes, choice);
    m_entries = classifyContacts(read.contacts, m_form, m_region->currentData().toString());
    fillTable();
    filter(m_search->text());
    showSummary();
}

void PhoneImportDialog::fillTable()
{
    const QSignalBlocker quiet(m_preview);
    m_preview->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const ImportEntry &entry = m_entries[row];
        const QStringList cells = {entry.contact.name, entry.contact.written, entry.stored, entry.contact.type, reasonText(entry.reason)};
        for (int column = 0; column < FirstPermissionColumn + PermissionCount; ++column) {
            auto *item = new QTableWidgetItem(cells.value(column));
            item->setBackground(classColour(entry.kind()));
            item->setForeground(Qt::black);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_preview->setItem(row, column, item);
            const bool permission = column >= FirstPermissionColumn;
            if (isChoosable(entry.reason) && (column == NameColumn || permission)) {
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                const bool on = !permission ? entry.kind() == ImportClass::Import
                              : entry.contact.permissions ? fromFile(*entry.contact.permissions, column - FirstPermissionColumn)
                                                          : m_boxes[column - FirstPermissionColumn]->isChecked();
                item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            }
        }
    }
    m_preview->resizeColumnsToContents();
}

void PhoneImportDialog::setAll(Qt::CheckState state)
{
    for (int row = 0; row < m_entries.size(); ++row)
        if (isChoosable(m_entries[row].reason) && !m_preview->isRowHidden(row))
            m_preview->item(row, NameColumn)->setCheckState(state);
}

void PhoneImportDialog::setPermissionForAll(int permission, bool on)
{
    const QSignalBlocker quiet(m_preview);
    for (int row = 0; row < m_entries.size(); ++row)
        if (isChoosable(m_entries[row].reason))
            m_preview->item(row, FirstPermissionColumn + permission)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    showSummary();
}

void PhoneImportDialog::filter(const QString &text)
{
    const QString wanted = text.trimmed();
    for (int row = 0; row < m_entries.size(); ++row) {
        const Contact &contact = m_entries[row].contact;
        m_preview->setRowHidden(row, !wanted.isEmpty() && !contact.name.contains(wanted, Qt::CaseInsensitive)
                                         && !contact.written.contains(wanted) && !m_entries[row].stored.contains(wanted));
    }
}

void PhoneImportDialog::showSummary()
{
    const ImportCounts counts = countClasses(m_entries);
    const QList<ChosenNumber> numbers = chosen();
    const qsizetype free = freeTelephoneRows(m_form).size();
    const auto idle = std::count_if(numbers.cbegin(), numbers.cend(), [](const ChosenNumber &n) {
        const ImportPermissions &p = n.permissions;
        return !p.alarmInput1 && !p.alarmInput2 && !p.controlOutput3 && !p.controlOutput4;
    });
    QString text = m_read.problem == ContactsRead::Problem::UnterminatedQuote
                       ? tr("A(z) %1. sorban kezdődő idézőjel nincs lezárva; a táblázat nem olvasható.").arg(m_read.badRow)
                       : tr("%1 importálható, %2 figyelmeztetés, %3 hiba. Kiválasztva: %4, szabad sor: %5.")
                             .arg(counts.imports).arg(counts.warnings).arg(counts.errors).arg(numbers.size()).arg(free);
    if (numbers.size() > free)
        text += u' ' + tr("Több szám van kiválasztva, mint ahány szabad sor van: válassza ki, melyek kerüljenek be.");
    if (idle > 0)
        text += u' ' + tr("%1 kiválasztott szám semmit sem tesz: nincs bejelölve sem riasztás, sem vezérlés.").arg(idle);
    m_summary->setText(text);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!numbers.isEmpty() && numbers.size() <= free);
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

QList<ChosenNumber> PhoneImportDialog::chosen() const
{
    QList<ChosenNumber> numbers;
    const auto on = [this](int row, int column) {
        const QTableWidgetItem *item = m_preview->item(row, column);
        return item && item->checkState() == Qt::Checked;
    };
    for (int row = 0; row < m_entries.size(); ++row) {
        const ImportEntry &entry = m_entries[row];
        if (!isChoosable(entry.reason) || !on(row, NameColumn))
            continue;
        const int p = FirstPermissionColumn;
        numbers.append({entry.stored, {on(row, p), on(row, p + 1), on(row, p + 2), on(row, p + 3)}, entry.contact.name, entry.contact.type,
                        std::max(entry.contact.row, 0)});
    }
    return numbers;
}
