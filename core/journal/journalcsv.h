#pragma once

#include "journalentry.h"

#include <QByteArray>
#include <QStringList>
#include <QList>
#include <QString>

// Journal entries as a CSV table (RFC 4180, UTF-8, a header row), for a
// spreadsheet: what the window exports and `tavir340-cli journal --csv` prints.
QByteArray journalCsv(const QList<JournalEntry> &entries);
// The same a line at a time, for an export too large to hold at once.
QByteArray journalCsvHeader();
QByteArray journalCsvLine(const JournalEntry &entry);

// "2026-12-08T10:15:00.123Z".
QString isoTime(qint64 ms);
// One CSV line (CRLF-ended) of `cells`, quoted where they need it.
QByteArray csvLine(const QStringList &cells);
// How long the operation took, in seconds; none while unfinished.
std::optional<double> entrySeconds(const JournalEntry &entry);
