#pragma once

#include "contentedit.h"
#include "contentfile.h"
#include "core/form/formvalues.h"
#include "core/plan/transferplan.h"
#include "core/settings/linksettings.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

// A batch of units to provision: a CSV file (RFC 4180, UTF-8, a header row)
// with a `unit` column (each unit's name, unique), an optional `port` column,
// and any field columns by the form's object names (m_nev, m_id, t1, tc1_1,
// …). Each row's content is the template with that row's values; an empty
// cell leaves the template's value. Every value is checked as `set` checks
// it, and every row's content as the run's download plans it.

// A row as it is kept for the run: its cells, and a hash of the content they
// make, so that a manifest of a hundred thousand units costs a few hundred
// bytes a unit. The form, content file and line plan are made again when a
// port takes the unit (buildUnit).
struct ManifestUnit
{
    int row = 0;          // as a spreadsheet numbers it: the header is row 1
    QString unit;
    QString port;         // empty: any port
    QStringList assignments;  // the row's field cells as `set` takes them: "m_nev=KAPU 1"
    QByteArray contentSha256;  // of the content file's bytes
    bool withoutBackup = false;  // its backup cell says "no": a new module, nothing to keep

    // Whether `content` (a content file's bytes) is what this row makes.
    bool makes(const QByteArray &content) const;
};

// What a row makes of the template, with the run's settings.
struct BuiltUnit
{
    FormValues form;
    QByteArray content;   // the content file's bytes
    TransferPlan plan;    // what goes on the line
};
// Nothing only when the template or the settings are not those the
// manifest was checked with.
std::optional<BuiltUnit> buildUnit(const ManifestUnit &unit, const FormValues &templateForm, const LinkSettings &settings);

struct ManifestProblem
{
    enum class Reason {
        BadCsv,          // an unterminated quote
        NoUnitColumn,
        UnknownColumn,
        DuplicateColumn,
        EmptyUnit,
        DuplicateUnit,   // detail: the row that has it first
        UnitTooLong,     // more than MaxUnitLength characters
        UnitControl,     // a control character, NUL and line breaks included
        UnitNotUtf8,     // bytes that are not UTF-8
        UnitLeading,     // starts with "-" or "." (an option, a hidden file)
        UnitFileName,    // the same file name as another row's unit: see otherRow
        CellCount,       // more cells than the header has columns
        BackupValue,     // a backup cell other than "yes", "no" or empty
        Value,           // a cell `set` would refuse: see refusal
        Content,         // the row's content a download would refuse: see refusal
        Unsavable,       // the row's content a content file cannot hold
    };
    int row = 0;
    QString column;       // empty where no column is to blame
    Reason reason = Reason::BadCsv;
    EditRefusal refusal;  // for Value and Content
    ContentFile::SaveProblem unsavable{-1, ContentFile::SaveProblem::Reason::WrongShape};
    int otherRow = 0;     // for DuplicateUnit
};

// A unit's name is part of file names and command lines: at most this long.
inline constexpr int MaxUnitLength = 64;

struct Manifest
{
    QList<ManifestUnit> units;
    QList<ManifestProblem> problems;
};

// Every row checked against the run's own link settings (its separator and
// checksum), as the download will send it.
Manifest readManifest(QIODevice &in, const FormValues &templateForm, const LinkSettings &settings);

// The cells of a CSV text, row by row; false at an unterminated quote, with
// the row it began in. Spreadsheets set to a comma-decimal language write
// ';' between cells, so the delimiter may be chosen.
bool parseCsv(const QString &text, QList<QStringList> *rows, int *badRow, QChar delimiter = u',');
