#include "contentedit.h"

namespace {

// Where the widget of that object name stands in its list, or -1.
template <typename Entry>
int indexOf(const QList<Entry> &catalogue, const QString &name)
{
    const auto found = std::find_if(catalogue.cbegin(), catalogue.cend(),
                                    [&name](const Entry &entry) { return entry.name == name; });
    return found == catalogue.cend() ? -1 : int(found - catalogue.cbegin());
}

} // namespace

std::optional<EditRefusal> applyAssignments(FormValues &values, const QStringList &assignments)
{
    using Reason = EditRefusal::Reason;
    FormValues edited = values;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return EditRefusal{assignment, Reason::NotAnAssignment, {}};
        const QString name = assignment.left(equals);
        const QString value = assignment.mid(equals + 1);

        if (const int k = indexOf(checkBoxCatalogue(), name); k >= 0 && k < edited.checked.size()) {
            if (value != QLatin1String("0") && value != QLatin1String("1"))
                return EditRefusal{assignment, Reason::NotABoxValue, {}};
            edited.checked[k] = value == QLatin1String("1");
            continue;
        }
        const int i = indexOf(lineEditCatalogue(), name);
        if (i < 0 || i >= edited.texts.size())
            return EditRefusal{assignment, Reason::NoSuchField, {}};
        edited.texts[i] = value.left(lineEditCatalogue()[i].maxLength);

        // What the download would say of this field, whatever the rest of
        // the form still lacks.
        const QList<RecordResult> refusals = downloadRefusals(edited, LinkSettings());
        const auto own = std::find_if(refusals.cbegin(), refusals.cend(), [i](const RecordResult &r) { return r.field == i; });
        if (own != refusals.cend())
            return EditRefusal{assignment, Reason::Refused, *own};
    }
    values = edited;
    return std::nullopt;
}
