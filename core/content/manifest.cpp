#include "manifest.h"

#include "contentfile.h"
#include "core/record/contentrecord.h"
#include "core/storage/filenames.h"

#include <QStringDecoder>

#include <QHash>
#include <QSet>

bool parseCsv(const QString &text, QList<QStringList> *rows, int *badRow)
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
        } else if (c == u',') {
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
        else if (lineEditIndex(name) < 0 && checkBoxIndex(name) < 0)
            problems->append(problemAt(1, name, Reason::UnknownColumn));
    }
    if (header.unitColumn < 0)
        problems->append(problemAt(1, QStringLiteral("unit"), Reason::NoUnitColumn));
    return header;
}

// Each cell as `set` takes it; false when one was refused.
bool applyCells(const Header &header, const QStringList &cells, ManifestUnit &unit, QSet<int> *fieldsGiven,
                QList<ManifestProblem> *problems)
{
    bool ok = true;
    for (int c = 0; c < cells.size(); ++c) {
        if (c == header.unitColumn || c == header.portColumn || cells[c].isEmpty())
            continue;
        const QString &name = header.names[c];
        FormValues edited = unit.form;
        if (std::optional<EditRefusal> refusal = applyAssignments(edited, {name + QLatin1Char('=') + cells[c]}, {}, EditCheck::ValueOnly)) {
            ManifestProblem problem = problemAt(unit.row, name, ManifestProblem::Reason::Value);
            problem.refusal = *refusal;
            problems->append(problem);
            ok = false;
            continue;
        }
        unit.form = edited;
        if (const int i = lineEditIndex(name); i >= 0)
            fieldsGiven->insert(i);
    }
    return ok;
}

// The row's content as a download with the run's settings takes it: the
// plan, or every refusal named by its column.
void planRow(ManifestUnit &unit, const QSet<int> &fieldsGiven, const LinkSettings &settings, QList<ManifestProblem> *problems)
{
    using Reason = ManifestProblem::Reason;
    PlannedTransfer planned = planTransfer(unit.form, settings, RecordPurpose::Download);
    for (const RecordResult &refusal : std::as_const(planned.refusals)) {
        EditRefusal why;
        why.reason = EditRefusal::Reason::Refused;
        why.refusal = refusal;
        const QString column = refusal.field >= 0 ? lineEditCatalogue()[refusal.field].name : QString();
        why.assignment = column;
        ManifestProblem problem = problemAt(unit.row, column, fieldsGiven.contains(refusal.field) ? Reason::Value : Reason::Content);
        problem.refusal = why;
        problems->append(problem);
    }
    if (!planned.plan)
        return;
    if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(unit.form)) {
        ManifestProblem unsavable = problemAt(unit.row, problem->field >= 0 ? lineEditCatalogue()[problem->field].name : QString(),
                                              Reason::Unsavable);
        unsavable.unsavable = *problem;
        problems->append(unsavable);
        return;
    }
    unit.plan = std::move(planned.plan);
    unit.content = ContentFile::serialize(unit.form);
}

} // namespace

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

    QHash<QString, int> unitRows, fileNameRows;
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList &cells = rows[r];
        ManifestUnit unit;
        unit.row = r + 2;
        if (cells.size() > header.names.size()) {
            manifest.problems.append(problemAt(unit.row, {}, Reason::CellCount));
            continue;
        }
        unit.unit = cells.value(header.unitColumn).trimmed();
        unit.port = header.portColumn >= 0 ? cells.value(header.portColumn).trimmed() : QString();
        if (unit.unit.isEmpty()) {
            manifest.problems.append(problemAt(unit.row, QStringLiteral("unit"), Reason::EmptyUnit));
        } else if (unitRows.contains(unit.unit)) {
            ManifestProblem problem = problemAt(unit.row, QStringLiteral("unit"), Reason::DuplicateUnit);
            problem.otherRow = unitRows[unit.unit];
            manifest.problems.append(problem);
        } else if (const std::optional<Reason> bad = unitNameProblem(unit.unit, badUtf8)) {
            manifest.problems.append(problemAt(unit.row, QStringLiteral("unit"), *bad));
        } else if (fileNameRows.contains(fileNamePart(unit.unit))) {
            ManifestProblem problem = problemAt(unit.row, QStringLiteral("unit"), Reason::UnitFileName);
            problem.otherRow = fileNameRows[fileNamePart(unit.unit)];
            manifest.problems.append(problem);
        } else {
            unitRows.insert(unit.unit, unit.row);
            fileNameRows.insert(fileNamePart(unit.unit), unit.row);
        }
        unit.form = templateForm;
        QSet<int> fieldsGiven;
        // A refused cell still leaves the rest of the row to be checked.
        const bool cellsTaken = applyCells(header, cells, unit, &fieldsGiven, &manifest.problems);
        planRow(unit, fieldsGiven, settings, &manifest.problems);
        if (cellsTaken && unit.plan)
            manifest.units.append(unit);
    }
    return manifest;
}
