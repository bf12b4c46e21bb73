#include "manifest.h"

#include "contentfile.h"
#include "core/record/contentrecord.h"
#include "core/storage/filenames.h"

#include <QCryptographicHash>
#include <QStringDecoder>

#include <QHash>
#include <QSet>
#include <QThread>

#include <thread>
#include <vector>

bool parseCsv(const QString &text, QList<QStringList> *rows, int *badRow, QChar delimiter)
{
    QStringList row;
    QString cell;
    bool quoted = false;
    bool rowHasContent = false;
    int quoteRow = 0;
    auto endCell = [&] {
        row << cell;
        cell.clear();
    };
    auto endRow = [&] {
        endCell();
        if (rowHasContent || row.size() > 1 || !row.first().isEmpty())
            rows->append(row);
        row.clear();
        rowHasContent = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
            rowHasContent = true;
            quoteRow = int(rows->size()) + 1;
        } else if (c == delimiter) {
            endCell();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;  // the \n ends the row
        } else if (c == u'\n' || c == u'\r') {
            endRow();
        } else {
            cell += c;
        }
    }
    if (quoted) {
        *badRow = quoteRow;
        return false;
    }
    if (!cell.isEmpty() || !row.isEmpty())
        endRow();
    return true;
}

static ManifestProblem problemAt(int row, const QString &column, ManifestProblem::Reason reason)
{
    ManifestProblem problem;
    problem.row = row;
    problem.column = column;
    problem.reason = reason;
    return problem;
}

namespace {

// What makes a unit's name unsafe in a file name or on a command line.
std::optional<ManifestProblem::Reason> unitNameProblem(const QString &unit, bool badUtf8)
{
    using Reason = ManifestProblem::Reason;
    if (badUtf8 && unit.contains(QChar(QChar::ReplacementCharacter)))
        return Reason::UnitNotUtf8;
    if (unit.size() > MaxUnitLength)
        return Reason::UnitTooLong;
    if (std::any_of(unit.begin(), unit.end(), [](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; }))
        return Reason::UnitControl;
    if (unit.startsWith(QLatin1Char('-')) || unit.startsWith(QLatin1Char('.')))
        return Reason::UnitLeading;
    return std::nullopt;
}

struct Header
{
    QStringList names;
    int unitColumn = -1;
    int portColumn = -1;
    int backupColumn = -1;  // "no": that unit's module is new, and needs no backup
};

// The header: unit, port and field columns, each once.
Header readHeader(const QStringList &cells, QList<ManifestProblem> *problems)
{
    using Reason = ManifestProblem::Reason;
    Header header;
    QSet<QString> seen;
    for (int c = 0; c < cells.size(); ++c) {
        const QString name = cells[c].trimmed();
        header.names.append(name);
        if (seen.contains(name))
            problems->append(problemAt(1, name, Reason::DuplicateColumn));
        seen.insert(name);
        if (name == QLatin1String("unit"))
            header.unitColumn = c;
        else if (name == QLatin1String("port"))
            header.portColumn = c;
        else if (name == QLatin1String("backup"))
            header.backupColumn = c;
        else if (lineEditIndex(name) < 0 && checkBoxIndex(name) < 0)
            problems->append(problemAt(1, name, Reason::UnknownColumn));
    }
    if (header.unitColumn < 0)
        problems->append(problemAt(1, QStringLiteral("unit"), Reason::NoUnitColumn));
    return header;
}

// Each cell as `set` takes it, onto `form`; false when one was refused.
bool applyCells(const Header &header, const QStringList &cells, ManifestUnit &unit, FormValues &form, QSet<int> *fieldsGiven,
                QList<ManifestProblem> *problems)
{
    bool ok = true;
    for (int c = 0; c < cells.size(); ++c) {
        if (c == header.unitColumn || c == header.portColumn || c == header.backupColumn || cells[c].isEmpty())
            continue;
        const QString &name = header.names[c];
        const QString assignment = name + QLatin1Char('=') + cells[c];
        // A refused assignment leaves the form as it was.
        if (std::optional<EditRefusal> refusal = applyAssignments(form, {assignment}, {}, EditCheck::ValueOnly)) {
            ManifestProblem problem = problemAt(unit.row, name, ManifestProblem::Reason::Value);
            problem.refusal = *refusal;
            problems->append(problem);
            ok = false;
            continue;
        }
        unit.assignments << assignment;
        if (const int i = lineEditIndex(name); i >= 0)
            fieldsGiven->insert(i);
    }
    return ok;
}

// The row's content as a download with the run's settings takes it: true,
// with the content's hash kept, or every refusal named by its column.
bool planRow(ManifestUnit &unit, const FormValues &form, const QSet<int> &fieldsGiven, const LinkSettings &settings,
             QList<ManifestProblem> *problems)
{
    using Reason = ManifestProblem::Reason;
    // The download's refusals alone: the plan itself is made when a port
    // takes the unit.
    const QList<RecordResult> refusals = downloadRefusals(form, settings);
    for (const RecordResult &refusal : refusals) {
        EditRefusal why;
        why.reason = EditRefusal::Reason::Refused;
        why.refusal = refusal;
        const QString column = refusal.field >= 0 ? lineEditCatalogue()[refusal.field].name : QString();
        why.assignment = column;
        ManifestProblem problem = problemAt(unit.row, column, fieldsGiven.contains(refusal.field) ? Reason::Value : Reason::Content);
        problem.refusal = why;
        problems->append(problem);
    }
    if (!refusals.isEmpty())
        return false;
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(form)) {
        ManifestProblem unsavable = problemAt(unit.row, problem->field >= 0 ? lineEditCatalogue()[problem->field].name : QString(),
                                              Reason::Unsavable);
        unsavable.unsavable = *problem;
        problems->append(unsavable);
        return false;
    }
    unit.contentSha256 = QCryptographicHash::hash(ContentFile::serialize(form), QCryptographicHash::Sha256);
    return true;
}

// A row's own checks: its cells, and its content as a download takes it.
struct CheckedRow
{
    ManifestUnit unit;
    QList<ManifestProblem> problems;
    bool taken = false;
};

CheckedRow checkRow(const Header &header, const QStringList &cells, int row, const FormValues &templateForm,
                    const LinkSettings &settings)
{
    CheckedRow checked;
    checked.unit.row = row;
    checked.unit.unit = cells.value(header.unitColumn).trimmed();
    checked.unit.port = header.portColumn >= 0 ? cells.value(header.portColumn).trimmed() : QString();
    if (cells.size() > header.names.size())
        return checked;
    const QString backup = header.backupColumn >= 0 ? cells.value(header.backupColumn).trimmed().toLower() : QString();
    checked.unit.withoutBackup = backup == QLatin1String("no");
    const bool backupTaken = backup.isEmpty() || backup == QLatin1String("yes") || checked.unit.withoutBackup;
    if (!backupTaken)
        checked.problems.append(problemAt(row, QStringLiteral("backup"), ManifestProblem::Reason::BackupValue));
    FormValues form = templateForm;
    QSet<int> fieldsGiven;
    // A refused cell still leaves the rest of the row to be checked.
    const bool cellsTaken = applyCells(header, cells, checked.unit, form, &fieldsGiven, &checked.problems);
    checked.taken = planRow(checked.unit, form, fieldsGiven, settings, &checked.problems) && cellsTaken && backupTaken;
    return checked;
}

// Every row checked, a slice of the rows on each processor: each row's
// checks stand alone, and a long manifest is checked while one waits.
QList<CheckedRow> checkRows(const Header &header, const QList<QStringList> &rows, const FormValues &templateForm,
                            const LinkSettings &settings)
{
    constexpr qsizetype RowsWorthAThread = 2000;
    QList<CheckedRow> checked(rows.size());
    CheckedRow *out = checked.data();  // detached here, before any thread writes
    const qsizetype workers = std::clamp<qsizetype>(rows.size() / RowsWorthAThread, 1, std::max(1, QThread::idealThreadCount()));
    const qsizetype slice = (rows.size() + workers - 1) / workers;
    auto checkSlice = [&](qsizetype from) {
        // Texts of its own for each thread: copies of shared ones would
        // have every thread counting references on the same cache lines.
        FormValues own = templateForm;
        for (QString &text : own.texts)
            text = QString(text.constData(), text.size());
        for (qsizetype r = from; r < std::min(from + slice, rows.size()); ++r)
            out[r] = checkRow(header, rows[r], int(r + 2), own, settings);
    };
    std::vector<std::thread> threads;
    for (qsizetype w = 1; w < workers; ++w)
        threads.emplace_back(checkSlice, w * slice);
    checkSlice(0);
    for (std::thread &thread : threads)
        thread.join();
    return checked;
}

// The unit names met so far: each unique, and unique as a file name too.
struct UnitNames
{
    QHash<QString, int> rows;
    QHash<QString, int> fileNames;

    std::optional<ManifestProblem> take(const QString &unit, int row, bool badUtf8)
    {
        using Reason = ManifestProblem::Reason;
        if (unit.isEmpty())
            return problemAt(row, QStringLiteral("unit"), Reason::EmptyUnit);
        if (rows.contains(unit)) {
            ManifestProblem problem = problemAt(row, QStringLiteral("unit"), Reason::DuplicateUnit);
            problem.otherRow = rows[unit];
            return problem;
        }
        if (const std::optional<Reason> bad = unitNameProblem(unit, badUtf8))
            return problemAt(row, QStringLiteral("unit"), *bad);
        const QString fileName = fileNamePart(unit);
        if (fileNames.contains(fileName)) {
            ManifestProblem problem = problemAt(row, QStringLiteral("unit"), Reason::UnitFileName);
            problem.otherRow = fileNames[fileName];
            return problem;
        }
        rows.insert(unit, row);
        fileNames.insert(fileName, row);
        return std::nullopt;
    }
};

} // namespace

bool ManifestUnit::makes(const QByteArray &content) const
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256) == contentSha256;
}

std::optional<BuiltUnit> buildUnit(const ManifestUnit &unit, const FormValues &templateForm, const LinkSettings &settings)
{
    FormValues form = templateForm;
    if (applyAssignments(form, unit.assignments, {}, EditCheck::ValueOnly))
        return std::nullopt;
    PlannedTransfer planned = planTransfer(form, settings, RecordPurpose::Download);
    QByteArray content = ContentFile::serialize(form);
    if (!planned.plan || !unit.makes(content))
        return std::nullopt;
    return BuiltUnit{std::move(form), std::move(content), std::move(*planned.plan)};
}

Manifest readManifest(QIODevice &in, const FormValues &templateForm, const LinkSettings &settings)
{
    using Reason = ManifestProblem::Reason;
    Manifest manifest;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(in.readAll());
    const bool badUtf8 = utf8.hasError();  // each bad sequence reads as U+FFFD
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> rows;
    int badRow = 0;
    if (!parseCsv(text, &rows, &badRow)) {
        manifest.problems.append(problemAt(badRow, {}, Reason::BadCsv));
        return manifest;
    }
    if (rows.isEmpty()) {
        manifest.problems.append(problemAt(1, QStringLiteral("unit"), Reason::NoUnitColumn));
        return manifest;
    }
    const Header header = readHeader(rows.takeFirst(), &manifest.problems);
    if (!manifest.problems.isEmpty())
        return manifest;

    const QList<CheckedRow> checked = checkRows(header, rows, templateForm, settings);
    UnitNames names;
    names.rows.reserve(rows.size());
    names.fileNames.reserve(rows.size());
    manifest.units.reserve(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const int row = r + 2;
        if (rows[r].size() > header.names.size()) {
            manifest.problems.append(problemAt(row, {}, Reason::CellCount));
            continue;
        }
        const CheckedRow &one = checked[r];
        if (const std::optional<ManifestProblem> problem = names.take(one.unit.unit, row, badUtf8))
            manifest.problems.append(*problem);
        manifest.problems.append(one.problems);
        if (one.taken)
            manifest.units.append(one.unit);
    }
    return manifest;
}
