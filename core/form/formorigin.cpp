#include "formorigin.h"

void FormOrigin::loaded(const FormValues &values, Source source, const QString &name, qint64 entry)
{
    m_loaded = values;
    m_source = source;
    m_name = name;
    m_entry = entry;
}

QString FormOrigin::recordedSource() const
{
    switch (m_source) {
    case Source::File: return m_name;
    case Source::Journal: return QStringLiteral("journal:") + m_name;
    case Source::Module: return QStringLiteral("readup:") + (m_entry > 0 ? QString::number(m_entry) : m_name);
    case Source::None: break;
    }
    return {};
}
