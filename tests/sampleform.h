#pragma once

#include "core/form/formvalues.h"
#include "core/plan/transferplan.h"

// A form that passes every check of a download: the sixteen visible fields
// filled in, everything else as at start-up.
inline FormValues downloadableForm()
{
    FormValues form = initialFormValues();
    const QStringList visible = {"36309888000", "1234", "42", "KAPU", "1", "AJTO", "ABLAK", "5",
                                 "KI3 BE", "KI4 BE", "KI3 KI", "KI4 KI", "BE1 BE", "BE2 BE", "BE1 KI", "BE2 KI"};
    for (int i = 0; i < visible.size(); ++i)
        form.texts[i] = visible[i];
    return form;
}

// The plan of a download that nothing refuses.
inline TransferPlan downloadPlan(const FormValues &form, const LinkSettings &settings = {})
{
    return planTransfer(form, settings, RecordPurpose::Download).plan.value();
}
