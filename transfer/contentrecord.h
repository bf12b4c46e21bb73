#pragma once

#include "form/formvalues.h"
#include "settings/linksettings.h"

#include <QString>

// The device content record: the 44 line-edit texts, each padded to a slot of
// 16 characters, the two permission digits in front of every telephone number,
// joined by the download separator, with an optional checksum suffix.

inline constexpr int RecordItemWidth = 16;

enum class RecordPurpose { Download, Verify };

enum class RecordError {
    None,
    MissingField,       // a visible field is empty (download only)
    AccentedCharacter,  // a field item holds a character the module cannot store
    SeparatorInText,    // the separator occurs inside an item or the suffix (download only)
    ControlCharacter,   // an item or the suffix holds a control code (download only)
};

struct RecordResult
{
    RecordError error = RecordError::None;
    QString missingField;  // object name of the empty field
    int field = -1;        // the offending line edit, where one is to blame
};

// Builds the record for `purpose` into settings.RecordText. On a missing field
// RecordText is left empty; after an accent failure it holds what was built up
// to there.
RecordResult buildContentRecord(const FormValues &form, LinkSettings &settings,
                                RecordPurpose purpose);

// What a download tells the technician about a refused record (title
// "Betöltés hiba."): one text for the window and the command line alike.
QString downloadRefusal(const RecordResult &result, char separator);

// The checksum suffix of `record` for a checksum mode (0..3 for the 8, 16,
// 24 or 32 bit sum; any other value is a fixed character).
QString checksumSuffix(const QString &record, char checkSize);

// True for the codes below 32 and 127: line ends, tabs and the like.
bool isControlCode(QChar c);

// The byte a record character goes onto the line as: its Latin-1 code, or 0
// for a character above U+00FF.
unsigned char recordByte(QChar c);
