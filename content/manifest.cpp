#include "manifest.h"

#include "content/contentfile.h"
#include "transfer/contentrecord.h"

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

Manifest readManifest(QIODevice &in, const FormValues &templateForm)
{
    using Reason = ManifestProblem::Reason;
    Manifest manifest;
    QString text = QString::fromUtf8(in.readAll());
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

    // The header: unit, port and field columns, each once.
    const QStringList header = rows.takeFirst();
    int unitColumn = -1, portColumn = -1;
    QSet<QString> seen;
    for (int c = 0; c < header.size(); ++c) {
        const QString name = header[c].trimmed();
        if (seen.contains(name))
            manifest.problems.append(problemAt(1, name, Reason::DuplicateColumn));
        seen.insert(name);
        if (name == QLatin1String("unit"))
            unitColumn = c;
        else if (name == QLatin1String("port"))
            portColumn = c;
        else if (lineEditIndex(name) < 0 && checkBoxIndex(name) < 0)
            manifest.problems.append(problemAt(1, name, Reason::UnknownColumn));
    }
    if (unitColumn < 0)
        manifest.problems.append(problemAt(1, QStringLiteral("unit"), Reason::NoUnitColumn));
    if (!manifest.problems.isEmpty())
        return manifest;

    QHash<QString, int> unitRows;
    const LinkSettings defaults;
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList &cells = rows[r];
        ManifestUnit unit;
        unit.row = r + 2;
        if (cells.size() > header.size()) {
            manifest.problems.append(problemAt(unit.row, {}, Reason::CellCount));
            continue;
        }
        unit.unit = cells.value(unitColumn).trimmed();
        unit.port = portColumn >= 0 ? cells.value(portColumn).trimmed() : QString();
        if (unit.unit.isEmpty())
            manifest.problems.append(problemAt(unit.row, QStringLiteral("unit"), Reason::EmptyUnit));
        else if (unitRows.contains(unit.unit))
        {
            ManifestProblem problem = problemAt(unit.row, QStringLiteral("unit"), Reason::DuplicateUnit);
            problem.otherRow = unitRows[unit.unit];
            manifest.problems.append(problem);
        }
        else
            unitRows.insert(unit.unit, unit.row);

        // Each cell as `set` takes it; the row's content as a download takes it.
        unit.form = templateForm;
        QHash<int, QString> columnOfField;
        bool rowOk = true;
        for (int c = 0; c < cells.size(); ++c) {
            if (c == unitColumn || c == portColumn || cells[c].isEmpty())
                continue;
            const QString name = header[c].trimmed();
            const QString assignment = name + QLatin1Char('=') + cells[c];
            FormValues edited = unit.form;
            if (std::optional<EditRefusal> refusal = applyAssignments(edited, {assignment}, EditCheck::ValueOnly)) {
                ManifestProblem problem = problemAt(unit.row, name, Reason::Value);
                problem.refusal = *refusal;
                manifest.problems.append(problem);
                rowOk = false;
                continue;
            }
            unit.form = edited;
            if (const int i = lineEditIndex(name); i >= 0)
                columnOfField.insert(i, name);
        }
        for (const RecordResult &refusal : downloadRefusals(unit.form, defaults)) {
            EditRefusal why;
            why.reason = EditRefusal::Reason::Refused;
            why.refusal = refusal;
            const QString column = refusal.field >= 0 ? lineEditCatalogue()[refusal.field].name : QString();
            why.assignment = column;
            ManifestProblem problem = problemAt(unit.row, column, columnOfField.contains(refusal.field) ? Reason::Value : Reason::Content);
            problem.refusal = why;
            manifest.problems.append(problem);
            rowOk = false;
        }
        if (rowOk) {
            if (const std::optional<ContentFile::SaveProblem> problem = ContentFile::findUnsavable(unit.form)) {
                ManifestProblem unsavable = problemAt(unit.row, problem->field >= 0 ? lineEditCatalogue()[problem->field].name : QString(),
                                                      Reason::Unsavable);
                unsavable.unsavable = *problem;
                manifest.problems.append(unsavable);
                rowOk = false;
            }
        }
        if (rowOk) {
            unit.content = ContentFile::serialize(unit.form);
            manifest.units.append(unit);
        }
    }
    return manifest;
}
