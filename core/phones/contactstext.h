#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A contacts file's bytes as text, in the encoding it was written in: UTF-8
// with or without its byte-order mark, UTF-16 with one (Excel's "Unicode
// text"), or else a single-byte encoding that ICU's charset detection finds
// (Windows-1250 for a Hungarian spreadsheet saved as CSV). A person may name
// the encoding instead.
struct ContactsText
{
    QString text;
    QString encoding;       // the one it was read in: "UTF-8", "UTF-16LE", "windows-1250", …
    bool detected = false;  // a guess from the bytes: no byte-order mark, and not UTF-8
};

ContactsText decodeContacts(const QByteArray &bytes, const QString &encoding = {});

// Bytes in a named encoding; empty for an encoding ICU does not know.
QString decodeBytes(const QByteArray &bytes, const QString &encoding);

// The encodings a person is offered, besides the one found.
QStringList contactEncodings();
