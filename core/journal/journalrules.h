#pragma once

#include <QtGlobal>

class QSqlQuery;

// A shared PostgreSQL journal's own rules, kept by the database itself so
// that a station's role cannot rewrite what is there whatever SQL it types:
// an entry is inserted open and completed once, by an update that finds it
// open; a provisioning is proven only after a download and a verify of its
// unit written since its claim; a claim is taken only with its own open
// entry, renewed only forward and for no longer than the longest lease, and
// let go of only once its lease has run out or its entry has ended. The
// tables' owner (who runs `journal init`) is bound by none of it.
//
// Made, or made again with another longest lease, by the owner; false when
// a statement fails. Nothing is done for a role that does not own the
// tables: it is what the rules are for.
bool keepJournalRules(QSqlQuery &query, qint64 longestLeaseMs);
