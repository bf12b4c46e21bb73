#include "windowphonebook.h"

#include "core/content/manifestfile.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

WindowPhoneBook::WindowPhoneBook(QWidget *form)
    : m_form(form)
{
    const QList<QLineEdit *> fields = formLineEdits(m_form);
    for (int row = 0; row < TelephoneCount; ++row)
        QObject::connect(fields[FieldItemCount + row], &QLineEdit::textChanged, fields[FieldItemCount + row], [this] { showNames(); });
}

void WindowPhoneBook::load(const QString &contentPath)
{
    const ManifestBytes read = readManifestBytes(phoneBookPath(contentPath));
    m_book = read.problem == ManifestBytes::Problem::None ? readPhoneBook(read.bytes) : PhoneBook{};
    showNames();
}

FileError WindowPhoneBook::save(const QString &contentPath) const
{
    const QString path = phoneBookPath(contentPath);
    if (m_book.isEmpty() && !QFileInfo::exists(path))
        return {};
    return writeWholeFile(path, phoneBookBytes(m_book, readForm(m_form)), OutputFile::Readers::OwnerOnly);
}

void WindowPhoneBook::clear()
{
    m_book = {};
    showNames();
}

void WindowPhoneBook::add(const QList<ChosenNumber> &chosen)
{
    for (const ChosenNumber &number : chosen)
        if (!number.name.isEmpty() || !number.type.isEmpty())
            m_book.byNumber.insert(number.number, {number.name, number.type});
    showNames();
}

void WindowPhoneBook::showNames()
{
    const QList<QLineEdit *> fields = formLineEdits(m_form);
    for (int row = 0; row < TelephoneCount; ++row) {
        QLineEdit *field = fields[FieldItemCount + row];
        const PhoneBookEntry entry = m_book.byNumber.value(field->text().trimmed());
        FieldMarks::setBaseTip(field, entry.type.isEmpty() ? entry.name : tr("%1 (%2)").arg(entry.name, entry.type));
    }
}

void WindowPhoneBook::edit(QWidget *window)
{
    QDialog dialog(window);
    dialog.setObjectName(QStringLiteral("phoneBook"));
    dialog.setWindowTitle(tr("Telefonkönyv"));
    auto *table = new QTableWidget(TelephoneCount, 3, &dialog);
    table->setObjectName(QStringLiteral("entries"));
    table->setHorizontalHeaderLabels({tr("Szám"), tr("Név"), tr("Típus")});
    table->horizontalHeader()->setStretchLastSection(true);
    const FormValues form = readForm(m_form);
    for (int row = 0; row < TelephoneCount; ++row) {
        const QString number = form.texts[FieldItemCount + row].trimmed();
        const PhoneBookEntry entry = m_book.byNumber.value(number);
        auto *shown = new QTableWidgetItem(number);
        shown->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, 0, shown);
        table->setItem(row, 1, new QTableWidgetItem(entry.name));
        table->setItem(row, 2, new QTableWidgetItem(entry.type));
        if (number.isEmpty()) {
            table->item(row, 1)->setFlags(Qt::ItemIsEnabled);
            table->item(row, 2)->setFlags(Qt::ItemIsEnabled);
        }
    }
    auto *sim = new QLineEdit(m_book.simNumber, &dialog);
    sim->setObjectName(QStringLiteral("simNumber"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    auto *simRow = new QFormLayout;
    simRow->addRow(tr("A modul SIM-kártyájának száma:"), sim);
    layout->addLayout(simRow);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    dialog.resize(560, 520);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_book.simNumber = sim->text().trimmed();
    for (int row = 0; row < TelephoneCount; ++row) {
        const QString number = table->item(row, 0)->text();
        if (number.isEmpty())
            continue;
        const PhoneBookEntry entry{table->item(row, 1)->text().trimmed(), table->item(row, 2)->text().trimmed()};
        if (entry.name.isEmpty() && entry.type.isEmpty())
            m_book.byNumber.remove(number);
        else
            m_book.byNumber.insert(number, entry);
    }
    showNames();
}
