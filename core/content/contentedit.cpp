#include "contentedit.h"

#include "core/plan/transferplan.h"

std::optional<EditRefusal> applyAssignments(FormValues &values, const QStringList &assignments, const LinkSettings &settings,
                                            EditCheck check)
{
    using Reason = EditRefusal::Reason;
    FormValues edited = values;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return EditRefusal{assignment, Reason::NotAnAssignment, {}};
        const QString name = assignment.left(equals);
        const QString value = assignment.mid(equals + 1);

        if (const int k = checkBoxIndex(name); k >= 0 && k < edited.checked.size()) {
            if (value != QLatin1String("0") && value != QLatin1String("1"))
                return EditRefusal{assignment, Reason::NotABoxValue, {}};
            edited.checked[k] = value == QLatin1String("1");
            continue;
        }
        const int i = lineEditIndex(name);
        if (i < 0 || i >= edited.texts.size())
            return EditRefusal{assignment, Reason::NoSuchField, {}};
        if (isTooLong(i, value.size()))
            return EditRefusal{assignment, Reason::TooLong, {}, lineEditCatalogue()[i].maxLength};
        edited.texts[i] = value;
        if (check == EditCheck::ValueOnly)
            continue;

        // What the download would say of this field, whatever the rest of
        // the form still lacks.
        const QList<RecordResult> refusals = planTransfer(edited, settings, RecordPurpose::Download).refusals;
        const auto own = std::find_if(refusals.cbegin(), refusals.cend(), [i](const RecordResult &r) { return r.field == i; });
        if (own != refusals.cend())
            return EditRefusal{assignment, Reason::Refused, *own};
    }
    values = edited;
    return std::nullopt;
}
