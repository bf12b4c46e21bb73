#pragma once

#include "core/form/formvalues.h"

#include <QString>

// Where the form's content came from, and what of it is kept elsewhere: the
// content as it was loaded or saved (its source holds that), and the last
// content downloaded (the module and the journal hold that). Work that is in
// neither would be lost if the form were replaced.
class FormOrigin
{
public:
    enum class Source {
        None,     // the program's start
        File,     // a content file, opened or saved: `name` is its path
        Journal,  // a journal entry's content: `name` is the entry's id
        Module,   // a read-up: `name` is the port, `entry` the read-up's entry
    };

    void loaded(const FormValues &values, Source source, const QString &name, qint64 entry = 0);
    void sent(const FormValues &values) { m_sent = values; m_hasSent = true; }

    Source source() const { return m_source; }
    const QString &name() const { return m_name; }
    // The form differs from what its source holds.
    bool isModified(const FormValues &now) const { return now != m_loaded; }
    // The form holds work that neither its source nor a download kept.
    bool wouldLose(const FormValues &now) const { return isModified(now) && !(m_hasSent && now == m_sent); }
    // The source as the journal records it in an entry's file: the path, or
    // `journal:ID`, or `readup:ID` (`readup:PORT` when unrecorded).
    QString recordedSource() const;

private:
    Source m_source = Source::None;
    QString m_name;
    qint64 m_entry = 0;
    FormValues m_loaded;
    FormValues m_sent;
    bool m_hasSent = false;
};
