#pragma once

#include "journal.h"
#include "journallocation.h"

#include <memory>

// A read-only connection for a reader on a thread of its own: opened at its
// first use, on that thread. A query that failed leaves the connection
// behind (a restarted server or a terminated backend does not come back on
// it), so the next use opens a new one, and a reader comes back by itself
// once the database does.
class JournalReadConnection
{
public:
    explicit JournalReadConnection(const JournalLocation &location);
    ~JournalReadConnection();

    Journal &journal();

private:
    JournalLocation m_location;
    std::unique_ptr<Journal> m_journal;
};
