#pragma once

#include "journal.h"

// One operation's entry in the journal: begun when this is made, before the
// port is touched, and completed by finish() once the operation has ended.
// With no journal it records nothing and every step succeeds.
class JournalRecord
{
public:
    JournalRecord(Journal *journal, JournalEntry entry);

    // False when the journal would not take the start: the operation must
    // not go ahead unrecorded.
    bool begun() const { return !m_journal || m_entry.id != 0; }
    JournalEntry &entry() { return m_entry; }
    // Completes the entry; false when the journal would not take it.
    bool finish();
    Journal::Problem problem() const { return m_journal ? m_journal->problem() : Journal::Problem{}; }

private:
    Journal *m_journal;
    JournalEntry m_entry;
};
