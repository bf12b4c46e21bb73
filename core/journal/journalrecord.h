#pragma once

#include "journalsink.h"

// One operation's entry in the journal: begun when this is made, before the
// port is touched, and completed by finish() once the operation has ended.
// With no journal it records nothing and every step succeeds.
class JournalRecord
{
public:
    JournalRecord(JournalSink *journal, JournalEntry entry);

    // False when the journal would not take the start: the operation must
    // not go ahead unrecorded.
    bool begun() const { return !m_journal || m_entry.id != 0; }
    JournalEntry &entry() { return m_entry; }
    // Completes the entry; false when the journal would not take it.
    bool finish();
    JournalProblem problem() const { return m_journal ? m_journal->problem() : JournalProblem{}; }

private:
    JournalSink *m_journal;
    JournalEntry m_entry;
};
