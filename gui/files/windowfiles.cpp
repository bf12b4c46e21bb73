#include "windowfiles.h"

#include "core/content/contentfile.h"
#include "core/content/datafiles.h"
#include "gui/dialogs/filedialog.h"
#include "gui/dialogs/messagebox.h"
#include "gui/form/fieldmarks.h"
#include "gui/form/formbinding.h"
#include "gui/form/formhistory.h"
#include "gui/texts/windowtexts.h"
#include "core/phones/phonebook.h"
#include "recentfiles.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QScopeGuard>
#include <QStatusBar>

namespace {
constexpr int CutNoticeMs = 15000;  // long enough to read, then the file name shows again
const QString DefaultContentFile = QStringLiteral("default16.ui");
} // namespace

WindowFiles::WindowFiles(QMainWindow *window, QWidget *form, QLabel *fileLabel, std::function<bool()> journalKeeps,
                         FormHistory *history)
    : m_window(window)
    , m_form(form)
    , m_fileLabel(fileLabel)
    , m_journalKeeps(std::move(journalKeeps))
    , m_history(history)
    , m_phoneBook(form)
{
}

void WindowFiles::newFile()
{
    if (!mayReplaceForm())
        return;
    nameFile(DefaultContentFile, DefaultContentFile);
    load(dataFilePath(DefaultContentFile));
}

void WindowFiles::nameFile(const QString &path, const QString &name)
{
    m_filePath = path;
    m_fileName = name;
    emit fileNamed(path, name);
}

void WindowFiles::open()
{
    if (!mayReplaceForm())
        return;
    nameFile(FileDialog::openFileName(m_window, tr("Open File"), dialogStart(false), filter()), m_fileName);
    if (m_filePath.isEmpty())
        return;
    if (load(m_filePath))
        RecentFiles::add(m_filePath);
}

void WindowFiles::openPath(const QString &path)
{
    if (!mayReplaceForm())
        return;
    nameFile(QFileInfo(path).absoluteFilePath(), m_fileName);
    if (load(m_filePath))
        RecentFiles::add(m_filePath);
}

bool WindowFiles::load(const QString &path)
{
    const ContentFile::LoadResult result = ContentFile::load(path, readForm(m_form));
    switch (result.status) {
    case ContentFile::LoadStatus::Missing:
        Message::warning(m_window, tr("Error"), tr("Cannot open the selected file."));
        return false;
    case ContentFile::LoadStatus::Malformed:
    case ContentFile::LoadStatus::NotAFile:
    case ContentFile::LoadStatus::Unreadable:
        Message::critical(m_window, tr("File error."),
                          tr("Cannot open the file. \nTip: Check the file."));
        return false;
    case ContentFile::LoadStatus::Loaded:
        break;
    }
    FieldMarks::clear(m_form);  // marks speak of the content that was there
    writeForm(m_form, result.values);
    m_phoneBook.load(path);  // the names of its numbers, when it has them
    m_lastFile = path;
    nameFile(m_filePath, ContentFile::displayName(m_filePath));
    emit recordOutdated();
    setOrigin(FormOrigin::Source::File, m_filePath);
    if (!result.cut.isEmpty())
        m_window->statusBar()->showMessage(WindowText::cutFields(result.cut), CutNoticeMs);
    Message::information(m_window, tr("File opened."),
                         tr("%1 successfully loaded.").arg(m_fileName));
    return true;
}

bool WindowFiles::save()
{
    // A form that would not load back is refused before a name is asked for.
    const FormValues form = readForm(m_form);
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(form)) {
        emit fieldChecksHeld(true);  // the box's focus must not empty the field
        const auto release = qScopeGuard([this] { emit fieldChecksHeld(false); });
        if (problem->field >= 0 && formLineEdits(m_form)[problem->field]->focusPolicy() != Qt::NoFocus)
            formLineEdits(m_form)[problem->field]->setFocus(Qt::OtherFocusReason);
        Message::warning(m_window, tr("Error"), WindowText::unsavable(*problem));
        return false;
    }
    // The dialog adds the extension itself, so that its own question about
    // replacing a file sees the name that will be written.
    const QString path = FileDialog::saveFileName(m_window, tr("Save File"), dialogStart(true), filter(),
                                                  QStringLiteral("t16"));
    if (path.isEmpty())
        return false;
    if (ContentFile::save(path, form) != ContentFile::SaveStatus::Saved) {
        Message::warning(m_window, tr("Error"), tr("Cannot save the selected file."));
        return false;
    }
    if (const FileError error = m_phoneBook.save(path)) {
        Message::warning(m_window, tr("Error"), WindowText::phoneBookNotSaved(phoneBookPath(path), error));
        return false;
    }
    nameFile(path, ContentFile::displayName(path));
    m_lastFile = path;
    setOrigin(FormOrigin::Source::File, path);
    RecentFiles::add(path);
    Message::information(m_window, tr("Save"), tr("Save was successful."));
    return true;
}

QString WindowFiles::filter() const
{
    return tr("T16 Files (*.t16)") + QStringLiteral(";;") + tr("All files (*)");
}

// Where the file dialogs start: the file last opened or saved (its name too,
// for Save, while the form still comes from it), or the current folder.
QString WindowFiles::dialogStart(bool withName) const
{
    if (m_lastFile.isEmpty())
        return QStringLiteral(".");
    return withName && m_origin.source() == FormOrigin::Source::File ? m_lastFile : QFileInfo(m_lastFile).path();
}

void WindowFiles::setOrigin(FormOrigin::Source source, const QString &name, qint64 entry)
{
    m_origin.loaded(readForm(m_form), source, name, entry);
    m_history->record();
    showOrigin();
}

QString WindowFiles::sourceShown() const
{
    if (m_origin.source() == FormOrigin::Source::File)
        return ContentFile::displayName(m_origin.name());
    if (m_origin.source() == FormOrigin::Source::Journal)
        return tr("Napló #%1").arg(m_origin.name());
    return {};
}

QString WindowFiles::originShown() const
{
    const QString shown = sourceShown();
    return (shown.isEmpty() ? tr("No file") : shown) + (m_origin.isModified(readForm(m_form)) ? QStringLiteral("*") : QString());
}

void WindowFiles::showOrigin()
{
    const QString shown = sourceShown();
    m_fileLabel->setText(shown.isEmpty() ? tr("No file") : shown);
    const QString program = tr("Tavir-340 letöltő szoftver");
    m_window->setWindowTitle(shown.isEmpty() ? program + QStringLiteral("[*]") : shown + QStringLiteral("[*] – ") + program);
    m_window->setWindowModified(m_origin.isModified(readForm(m_form)));
}

bool WindowFiles::mayReplaceForm()
{
    if (!m_origin.wouldLose(readForm(m_form)))
        return true;
    QString text = tr("Az űrlap változásai nincsenek sem fájlba mentve, sem modulba letöltve.");
    if (m_journalKeeps())
        text += QLatin1Char('\n') + tr("Amit letöltött, azt a napló megőrzi; ezeket a változásokat nem.");
    QMessageBox box(QMessageBox::Question, tr("Mentetlen változások"), text + QLatin1Char('\n') + tr("Menti őket?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}
