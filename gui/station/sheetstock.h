#pragma once

#include "core/label/labelcontent.h"

#include <QList>

// A sheet of labels on the printer: the labels waiting for it to fill, and
// the first free place (0 for the first), for a sheet that went back into
// the printer partly used. Kept in the user's settings at every change, so
// that neither a restart nor a killed program loses a label or a place.
class SheetStock
{
public:
    SheetStock();

    const QList<LabelContent> &waiting() const { return m_waiting; }
    int firstPlace() const { return m_firstPlace; }
    // The place the next label takes.
    int nextPlace() const { return m_firstPlace + int(m_waiting.size()); }

    void add(const LabelContent &label);
    void setFirstPlace(int place);
    // The waiting labels went onto the sheet: a full sheet leaves a fresh
    // one, a part-used one is used on from the place after them.
    void printed(int perPage);

private:
    void save() const;

    QList<LabelContent> m_waiting;
    int m_firstPlace = 0;
};
