#include "journalview.h"

#include "gui/form/filedialog.h"
#include "gui/form/messagebox.h"
#include "gui/form/windowtexts.h"
#include "core/journal/journal.h"
#include "core/journal/journalcsv.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char *const Columns[] = {QT_TRANSLATE_NOOP("journalView", "Idő"),       QT_TRANSLATE_NOOP("journalView", "Állomás"),
                               QT_TRANSLATE_NOOP("journalView", "Port"),      QT_TRANSLATE_NOOP("journalView", "Művelet"),
                               QT_TRANSLATE_NOOP("journalView", "Azonosító"), QT_TRANSLATE_NOOP("journalView", "Név"),
                               QT_TRANSLATE_NOOP("journalView", "Eredmény"),  QT_TRANSLATE_NOOP("journalView", "mp")};

} // namespace

journalView::journalView(Journal &journal, QWidget *parent)
    : QDialog(parent)
    , m_journal(journal)
{
    setObjectName("journalView");
    setWindowTitle(tr("Napló"));
    resize(860, 480);

    auto *layout = new QVBoxLayout(this);
    auto *filters = new QHBoxLayout;
    auto *filterLabel = new QLabel(tr("&Modul:"), this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName("filter");
    m_filter->setPlaceholderText(tr("azonosító vagy név"));
    m_filter->setClearButtonEnabled(true);
    filterLabel->setBuddy(m_filter);
    auto *resultLabel = new QLabel(tr("&Eredmény:"), this);
    m_result = new QComboBox(this);
    m_result->setObjectName("result");
    m_result->addItem(tr("mind"), QString());
    for (const QString &result : {JournalName::Ok, JournalName::Failed, JournalName::Refused, JournalName::Interrupted,
                                  JournalName::Unfinished})
        m_result->addItem(WindowText::journalResult(result), result);
    resultLabel->setBuddy(m_result);
    filters->addWidget(filterLabel);
    filters->addWidget(m_filter, 1);
    filters->addWidget(resultLabel);
    filters->addWidget(m_result);
    layout->addLayout(filters);

    m_table = new QTableWidget(this);
    m_table->setObjectName("entries");
    m_table->setColumnCount(int(std::size(Columns)));
    QStringList headers;
    for (const char *column : Columns)
        headers << tr(column);
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(tr("Betöltés az űrlapba"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName("open");
    m_export = buttons->addButton(tr("Exportálás CSV-be..."), QDialogButtonBox::ActionRole);
    m_export->setObjectName("export");
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);

    connect(m_filter, &QLineEdit::textChanged, this, &journalView::refresh);
    connect(m_result, &QComboBox::currentIndexChanged, this, &journalView::refresh);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = m_table->currentRow();
        m_open->setEnabled(row >= 0 && row < m_entries.size() && !m_entries[row].content.isEmpty());
    });
    connect(m_table, &QTableWidget::cellActivated, this, &journalView::choose);
    connect(m_open, &QPushButton::clicked, this, &journalView::choose);
    connect(m_export, &QPushButton::clicked, this, &journalView::exportCsv);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refresh();
    m_filter->setFocus();
}

void journalView::refresh()
{
    Journal::Filter filter;
    filter.idOrName = m_filter->text().trimmed();
    filter.result = m_result->currentData().toString();
    filter.limit = ShownEntries;
    filter.withContent = true;
    m_entries = m_journal.find(filter);

    m_table->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const JournalEntry &e = m_entries[row];
        const std::optional<double> seconds = entrySeconds(e);
        const QString cells[] = {
            QDateTime::fromMSecsSinceEpoch(e.startedMs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")),  // local, with its zone
            e.station, e.port, WindowText::journalOperation(e.operation), e.moduleId, e.moduleName,
            WindowText::journalResult(e.result), seconds ? QString::number(*seconds, 'f', 1) : QString()};
        for (int column = 0; column < int(std::size(cells)); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column == 0)
                item->setToolTip(WindowText::journalReason(e.reason));
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_open->setEnabled(false);
    m_export->setEnabled(!m_entries.isEmpty());
    if (!m_entries.isEmpty())
        m_table->selectRow(0);
}

void journalView::choose()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_entries.size() || m_entries[row].content.isEmpty())
        return;
    m_chosen = m_entries[row];
    accept();
}

void journalView::exportCsv()
{
    const QString path = FileDialog::saveFileName(this, tr("Exportálás"), QStringLiteral("."), tr("CSV Files (*.csv)"),
                                                  QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    if (const FileError error = writeWholeFile(path, journalCsv(m_entries)))
        Message::warning(this, tr("Hiba"), tr("A fájl nem írható: %1\n%2").arg(path, WindowText::fileError(error)));
}
