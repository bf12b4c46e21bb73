#pragma once

#include "core/form/fieldcheck.h"
#include "core/form/formvalues.h"
#include "core/settings/linksettings.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The device content record: the 44 line-edit texts, each padded to a slot of
// 16 characters, the two permission digits in front of every telephone number,
// joined by the download separator, with an optional checksum suffix.

enum class RecordPurpose { Download, Verify };

// Why a record is refused. The download looks in this order and names the
// first; verify refuses only what the module cannot store.
enum class RecordError {
    None,
    MissingField,       // a visible field is empty (download only)
    AccentedCharacter,  // a field item holds a character the module cannot store
    NotLatin1,          // a character that is no single byte on the line (download only)
    ControlCharacter,   // a character that goes out as a control byte, a line end or a tab (download only)
    FieldRule,          // a number or flag the form's own rules forbid, from a file or a read-up (download only)
    SeparatorInText,    // the separator occurs inside an item or the suffix (download only)
};

struct RecordResult
{
    RecordError error = RecordError::None;
    int field = -1;                    // the offending line edit, where one is to blame
    FieldRule rule = FieldRule::None;  // which rule, for FieldRule
};

// Builds the record for `purpose` into settings.RecordText. On a refused
// download RecordText is left empty, except after an accent failure, where it
// holds what was built up to there.
RecordResult buildContentRecord(const FormValues &form, LinkSettings &settings,
                                RecordPurpose purpose);

// Every refusal a download would make, in the order it looks; for naming them
// all at once.
QList<RecordResult> downloadRefusals(const FormValues &form, const LinkSettings &settings);
// The same for the form's record items, made once by the caller.
QList<RecordResult> downloadRefusals(const FormValues &form, const QStringList &items, const LinkSettings &settings);
// The download's record from its items: joined by the separator, with the
// checksum suffix when the settings ask for one.
QString downloadRecord(const QStringList &items, const LinkSettings &settings);

// The record's 44 items in form order, each in its 16-character slot: the
// telephone items with their two permission digits in front.
QStringList recordItems(const FormValues &form);

// The checksum suffix of `record` for a checksum mode (0..3 for the 8, 16,
// 24 or 32 bit sum; any other value is a fixed character).
QString checksumSuffix(const QString &record, char checkSize);

// The byte a record character goes onto the line as: its Latin-1 code, or 0
// for a character above U+00FF.
unsigned char recordByte(QChar c);

// The record as it goes onto the line: cut at every separator, each piece
// as bytes. The download ends every piece with CR.
QList<QByteArray> linePieces(const QString &record, char separator);
