#include "journalreadconnection.h"

JournalReadConnection::JournalReadConnection(const JournalLocation &location)
    : m_location(location)
{
}

JournalReadConnection::~JournalReadConnection() = default;

Journal &JournalReadConnection::journal()
{
    if (!m_journal || !m_journal->isOpen())
        m_journal = std::make_unique<Journal>(m_location, Journal::Mode::Read);
    return *m_journal;
}
