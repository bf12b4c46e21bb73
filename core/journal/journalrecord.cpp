#include "journalrecord.h"

#include <QDateTime>

JournalRecord::JournalRecord(JournalSink *journal, JournalEntry entry)
    : m_journal(journal)
    , m_entry(std::move(entry))
{
    if (m_journal)
        m_entry.id = m_journal->begin(m_entry);
}

bool JournalRecord::finish()
{
    if (!m_entry.endedMs)
        m_entry.endedMs = QDateTime::currentMSecsSinceEpoch();
    return !m_journal || m_journal->complete(m_entry);
}
