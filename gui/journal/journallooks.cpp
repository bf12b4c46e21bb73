#include "journallooks.h"

#include "core/content/contentfile.h"
#include "core/plan/transferplan.h"
#include "gui/dialogs/messagebox.h"
#include "gui/files/windowfiles.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/texts/windowtexts.h"
#include "gui/transfer/windowjobs.h"
#include "journalview.h"

#include <QComboBox>
#include <QMainWindow>
#include <QPointer>

JournalLooks::JournalLooks(QMainWindow *window, QWidget *form, QComboBox *operators, WindowFiles &files, WindowJobs &jobs)
    : m_window(window)
    , m_form(form)
    , m_operators(operators)
    , m_files(files)
    , m_jobs(jobs)
{
}

void JournalLooks::showChanges()
{
    if (m_jobs.isBusy())
        return;
    const FormValues now = readForm(m_form);
    const QString moduleId = now.texts[lineEditIndex(QStringLiteral("m_id"))];
    if (moduleId.isEmpty()) {
        showChangesSince(now, moduleId, {true, {}}, false);
        return;
    }
    m_jobs.begin();  // a look ends once the database answers: nothing to interrupt
    auto found = std::make_shared<LastDownload>();
    auto failure = std::make_shared<std::optional<JournalProblem>>();
    m_jobs.run([journal = m_jobs.journal(), moduleId, found, failure]() mutable {
        *found = journal.lastDownload(moduleId);
        *failure = journal.takeFailure();
    }, [this, now, moduleId, found, failure] {
        m_jobs.tellJournalFailure(*failure);
        if (!m_jobs.isStopping())
            showChangesSince(now, moduleId, *found, failure->has_value());
        m_jobs.end();
    });
}

// A journal that cannot be read is named once; after that, each look says
// that nothing is known, never that nothing was downloaded.
void JournalLooks::showChangesSince(const FormValues &now, const QString &moduleId, const LastDownload &found, bool told)
{
    if (!told && !found.read)
        Message::warning(m_window, tr("Változások"), tr("A napló nem olvasható, így nem tudni, mi változott."));
    if (!found.read)
        return;
    const std::optional<JournalEntry> &last = found.entry;
    if (!last) {
        Message::information(m_window, tr("Változások"), tr("A napló nem tud letöltést a(z) „%1” azonosítójú modulba.").arg(moduleId));
        return;
    }
    const ContentFile::LoadResult then = ContentFile::parse(last->content, now);
    if (then.status != ContentFile::LoadStatus::Loaded) {
        Message::critical(m_window, tr("File error."), tr("Cannot open the file. \nTip: Check the file."));
        return;
    }
    const QList<FieldDifference> changes = compareAsStored(then.values, now);
    const QString since = tr("a #%1 betöltés óta (%2)").arg(last->id).arg(WindowText::localTime(last->startedMs));
    FieldMarks::clear(m_form);
    if (changes.isEmpty()) {
        Message::information(m_window, tr("Változások"), tr("Nincs változás %1.").arg(since));
        return;
    }
    for (const FieldDifference &change : changes)
        FieldMarks::mark(m_form, change.name, WindowText::downloadedThen(change));
    Message::information(m_window, tr("Változások"),
                         tr("%1 mező változott %2.").arg(changes.size()).arg(since) + QStringLiteral("\n\n") + WindowText::changes(changes));
}

// The journal is opened first, so that one that fails is named rather than
// shown empty.
void JournalLooks::showJournal()
{
    if (m_jobs.isBusy())
        return;
    m_jobs.begin();
    auto available = std::make_shared<bool>(false);
    auto failure = std::make_shared<std::optional<JournalProblem>>();
    m_jobs.run([journal = m_jobs.journal(), available, failure]() mutable {
        *available = journal.available();
        *failure = journal.takeFailure();
    }, [this, available, failure] {
        m_jobs.tellJournalFailure(*failure);
        if (*available && !m_jobs.isStopping())
            openView();
        else
            m_jobs.end();
    });
}

// The view searches on a thread of its own; the window goes on once it has
// closed.
void JournalLooks::openView()
{
    auto *view = new journalView(m_jobs.journalLocation(), m_window);
    m_jobs.setStop([view = QPointer<journalView>(view)] {
        if (view)
            view->reject();
    });
    QObject::connect(view, &QDialog::finished, view, [this, view](int result) {
        const std::optional<JournalEntry> chosen = result == QDialog::Accepted ? view->chosen() : std::nullopt;
        view->deleteLater();
        if (chosen && !m_jobs.isStopping() && m_files.mayReplaceForm())
            load(*chosen);
        m_jobs.end();
    });
    view->setWindowModality(Qt::ApplicationModal);
    view->show();
}

void JournalLooks::load(const JournalEntry &chosen)
{
    const ContentFile::LoadResult loaded = ContentFile::parse(chosen.content, readForm(m_form));
    if (loaded.status != ContentFile::LoadStatus::Loaded) {
        Message::critical(m_window, tr("File error."), tr("Cannot open the file. \nTip: Check the file."));
        return;
    }
    FieldMarks::clear(m_form);
    writeForm(m_form, loaded.values);
    m_operators->setCurrentIndex(operatorIndexForNumber(loaded.values.texts.first()));
    emit formFromJournal(chosen.id);
}
