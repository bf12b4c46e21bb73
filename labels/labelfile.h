#pragma once

#include "core/label/labelcontent.h"
#include "core/label/labelsize.h"
#include "core/storage/outputfile.h"

#include <QString>

// A proven unit's label as "<folder>/<unit>-<entry>.pdf", made 0644 and
// never replacing a name that is there; `path` gets the name either way.
FileError writeLabelFile(const QString &folder, const LabelContent &label, const LabelSize &size, QString *path);
