#pragma once

#include <QString>

// Where the provisioning journal lives: a SQLite file on this machine, or a
// PostgreSQL database that several stations share. Chosen by the --journal
// option, else by TAVIR340_JOURNAL, else the file in the user's state folder.
struct JournalLocation
{
    enum class Kind { Off, Sqlite, Postgres };
    Kind kind = Kind::Off;
    QString path;  // the SQLite file
    int busyTimeoutMs = 10000;  // how long a write waits while another program writes the file

    // PostgreSQL, from a postgresql:// address; what is not given is left
    // to libpq (its environment, ~/.pgpass, PGSERVICE).
    QString host;
    int port = -1;
    QString database;
    QString user;
    QString password;  // only when the address holds one; never shown
    QString options;   // further libpq keywords, "sslmode=require;service=x"

    bool isDefault = false;  // the file in the state folder, made on first use

    // How it is named to a person: the path, or the address without its password.
    QString shownName() const;
};

// $XDG_STATE_HOME/tavir340/journal.sqlite, or ~/.local/state/tavir340/...
QString defaultJournalPath();

// The journal a run uses: `option` is the value of --journal (empty when not
// given), `off` whether --no-journal was given. A destination that starts
// with postgresql:// or postgres:// is a database; anything else a file.
JournalLocation journalLocation(const QString &option, bool off);

// Reads a destination as --journal and TAVIR340_JOURNAL take it.
JournalLocation parseJournalDestination(const QString &destination);
