#include "journalview.h"

#include "gui/dialogs/filedialog.h"
#include "gui/dialogs/messagebox.h"
#include "gui/dialogs/progressvalue.h"
#include "gui/texts/windowtexts.h"
#include "core/journal/journal.h"
#include "core/journal/journalcsv.h"
#include "core/content/contentfile.h"
#include "core/plan/transferplan.h"
#include "journalsearch.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

const char *const Columns[] = {QT_TRANSLATE_NOOP("journalView", "Idő"),       QT_TRANSLATE_NOOP("journalView", "Állomás"),
                               QT_TRANSLATE_NOOP("journalView", "Port"),      QT_TRANSLATE_NOOP("journalView", "Művelet"),
                               QT_TRANSLATE_NOOP("journalView", "Azonosító"), QT_TRANSLATE_NOOP("journalView", "Név"),
                               QT_TRANSLATE_NOOP("journalView", "Eredmény"),  QT_TRANSLATE_NOOP("journalView", "mp")};

} // namespace

journalView::journalView(const JournalLocation &journal, QWidget *parent)
    : QDialog(parent)
{
    setObjectName("journalView");
    setWindowTitle(tr("Napló"));
    resize(860, 480);
    createWidgets();

    m_search = m_thread.start(new JournalSearch(journal), QStringLiteral("journal view"));
    connect(m_search, &JournalSearch::fetched, this, &journalView::chooseEntry);
    connect(m_search, &JournalSearch::fetchedPair, this, &journalView::showComparison);
    connect(m_search, &JournalSearch::found, this, &journalView::showPage);
    connect(m_search, &JournalSearch::counted, this, [this](int generation, qint64 count) {
        if (generation == m_generation) {
            m_total = count;
            showCount();
        }
    });

    connect(m_filter, &QLineEdit::textChanged, this, &journalView::refresh);
    connect(m_result, &QComboBox::currentIndexChanged, this, &journalView::refresh);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<int> rows = selectedRows();
        m_open->setEnabled(rows.size() == 1);
        m_compare->setEnabled(rows.size() == 2);
    });
    connect(m_table, &QTableWidget::cellActivated, this, &journalView::choose);
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this, &journalView::loadMore);
    connect(m_open, &QPushButton::clicked, this, &journalView::choose);
    connect(m_export, &QPushButton::clicked, this, &journalView::exportCsv);
    connect(m_compare, &QPushButton::clicked, this, &journalView::compare);
    refresh();
    m_filter->setFocus();
}

// A search still running stops at its next slice; a query that waits on a
// database that hangs keeps its thread until it returns, and the window
// does not wait for it: the thread and its search go once it has ended.
journalView::~journalView()
{
    m_search->cancel();
    m_thread.release();
}

void journalView::createWidgets()
{
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
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);  // two, with Ctrl, to compare
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    m_status = new QLabel(this);
    m_status->setObjectName("status");
    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(tr("Betöltés az űrlapba"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName("open");
    m_open->setDefault(true);  // Enter, from the filter as from the table
    m_compare = buttons->addButton(tr("Össze&hasonlítás"), QDialogButtonBox::ActionRole);
    m_compare->setObjectName("compare");
    m_compare->setEnabled(false);
    m_export = buttons->addButton(tr("Exportálás CSV-be..."), QDialogButtonBox::ActionRole);
    m_export->setObjectName("export");
    buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
}

Journal::Filter journalView::filter() const
{
    Journal::Filter filter;
    filter.idOrName = m_filter->text().trimmed();
    filter.result = m_result->currentData().toString();
    filter.unit = m_unit;
    return filter;
}

void journalView::showUnit(const QString &unit)
{
    m_unit = unit;
    setWindowTitle(tr("Napló: %1").arg(unit));
    refresh();
}

// Each change of the filter starts a search of its own; the one before it
// stops and its answers are not shown.
void journalView::refresh()
{
    m_generation = m_search->begin();
    m_entries.clear();
    m_table->setRowCount(0);
    m_total = -1;
    m_more = false;
    m_loading = true;
    m_open->setEnabled(false);
    m_compare->setEnabled(false);
    m_export->setEnabled(false);
    showCount();
    QMetaObject::invokeMethod(m_search, [search = m_search, generation = m_generation, filter = filter()] {
        search->find(generation, filter);
    }, Qt::QueuedConnection);
}

void journalView::showPage(int generation, const QList<JournalEntry> &entries, bool more)
{
    if (generation != m_generation)
        return;
    const bool first = m_entries.isEmpty();
    const int row0 = int(m_entries.size());
    m_entries += entries;
    m_more = more;
    m_loading = false;
    m_table->setRowCount(int(m_entries.size()));
    for (int row = row0; row < m_entries.size(); ++row) {
        const JournalEntry &e = m_entries[row];
        const std::optional<double> seconds = entrySeconds(e);
        const QString cells[] = {
            WindowText::localTime(e.startedMs),
            e.station, e.port, WindowText::journalOperation(e.operation), e.moduleId, e.moduleName,
            WindowText::journalResult(e.result), seconds ? QString::number(*seconds, 'f', 1) : QString()};
        for (int column = 0; column < int(std::size(cells)); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column == 0)
                item->setToolTip(WindowText::journalReason(e.reason));
            m_table->setItem(row, column, item);
        }
    }
    if (first) {
        m_table->resizeColumnsToContents();
        if (!m_entries.isEmpty()) {
            m_table->selectRow(0);
            m_open->setEnabled(true);
        }
    }
    m_export->setEnabled(!m_entries.isEmpty());
    showCount();
}

void journalView::showCount()
{
    const QLocale locale;
    const QString shown = locale.toString(qint64(m_entries.size()));
    m_status->setText(m_total < 0 ? tr("%1 bejegyzés, számolás...").arg(shown)
                                  : tr("%1 / %2 bejegyzés").arg(shown, locale.toString(m_total)));
}

// Near the end of what the table holds, the next page is asked for.
void journalView::loadMore()
{
    const QScrollBar *bar = m_table->verticalScrollBar();
    if (!m_more || m_loading || m_entries.isEmpty() || bar->value() < bar->maximum() - bar->pageStep())
        return;
    m_loading = true;
    Journal::Filter next = filter();
    next.olderThan = Journal::Position{m_entries.last().startedMs, m_entries.last().id};
    QMetaObject::invokeMethod(m_search, [search = m_search, generation = m_generation, next] {
        search->find(generation, next);
    }, Qt::QueuedConnection);
}

void journalView::choose()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    QMetaObject::invokeMethod(m_search, [search = m_search, id = m_entries[row].id] { search->fetch(id); }, Qt::QueuedConnection);
}

// The chosen entry in full, as the search's thread read it.
void journalView::chooseEntry(const std::optional<JournalEntry> &full)
{
    if (!full || full->content.isEmpty()) {
        m_status->setText(tr("A bejegyzés nem tartalmaz űrlapot."));
        return;
    }
    m_chosen = full;
    accept();
}

QList<int> journalView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        if (index.row() < m_entries.size())
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The two chosen entries' forms, the older against the newer.
void journalView::compare()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 2)
        return;
    const qint64 first = std::min(m_entries[rows[0]].id, m_entries[rows[1]].id);
    const qint64 second = std::max(m_entries[rows[0]].id, m_entries[rows[1]].id);
    QMetaObject::invokeMethod(m_search, [search = m_search, first, second] { search->fetchPair(first, second); }, Qt::QueuedConnection);
}

void journalView::showComparison(const std::optional<JournalEntry> &older, const std::optional<JournalEntry> &newer)
{
    const auto formOf = [](const std::optional<JournalEntry> &entry) {
        return entry && !entry->content.isEmpty() ? ContentFile::parse(entry->content, initialFormValues()) : ContentFile::LoadResult{};
    };
    const ContentFile::LoadResult then = formOf(older), now = formOf(newer);
    if (then.status != ContentFile::LoadStatus::Loaded || now.status != ContentFile::LoadStatus::Loaded) {
        m_status->setText(tr("A bejegyzés nem tartalmaz űrlapot."));
        return;
    }
    const QList<FieldDifference> changes = compareAsStored(then.values, now.values);
    const QString text = changes.isEmpty()
                             ? tr("A #%1 és a #%2 bejegyzés űrlapja azonos.").arg(older->id).arg(newer->id)
                             : tr("%1 mező különbözik a #%2 és a #%3 bejegyzés között.").arg(changes.size()).arg(older->id).arg(newer->id)
                                   + QStringLiteral("\n\n") + WindowText::changes(changes);
    Message::information(this, tr("Összehasonlítás"), text);
}

// Every matching entry, written off the window's thread a page at a time;
// a progress dialog comes up when it takes longer than a second. The view
// goes on serving its events, and says how it went once the export ends.
void journalView::exportCsv()
{
    if (m_exporting)
        return;
    const QString path = FileDialog::saveFileName(this, tr("Exportálás"), QStringLiteral("."), tr("CSV Files (*.csv)"),
                                                  QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    m_exporting = std::make_unique<QProgressDialog>(tr("Exportálás..."), tr("Megszakítás"), 0, 0, this);
    m_exporting->setWindowModality(Qt::WindowModal);
    m_exporting->setMinimumDuration(1000);
    m_exporting->setAutoClose(false);
    m_exporting->setAutoReset(false);
    QProgressDialog *progress = m_exporting.get();
    connect(m_search, &JournalSearch::exportProgress, progress, [progress](qint64 done, qint64 total) {
        progress->setMaximum(int(std::min<qint64>(total, INT_MAX)));
        setProgressValue(*progress, int(std::min<qint64>(done, INT_MAX)));
    });
    connect(m_search, &JournalSearch::exportEnded, progress, [this, path](qint64 written, FileError error, bool stopped) {
        m_exporting.reset();
        if (error)
            Message::warning(this, tr("Hiba"), tr("A fájl nem írható: %1\n%2").arg(path, WindowText::fileError(error)));
        else if (stopped)
            m_status->setText(tr("Az exportálás megszakítva, a fájl nem készült el."));
        else
            m_status->setText(tr("%1 bejegyzés exportálva: %2").arg(QLocale().toString(written), path));
    });
    connect(progress, &QProgressDialog::canceled, this, [this] { m_search->stopExport(); });
    QMetaObject::invokeMethod(m_search, [search = m_search, all = filter(), path] { search->exportAll(all, path); },
                              Qt::QueuedConnection);
}
