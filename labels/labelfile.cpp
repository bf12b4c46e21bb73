#include "labelfile.h"

#include "core/storage/filenames.h"
#include "labelpdf.h"

FileError writeLabelFile(const QString &folder, const LabelContent &label, const LabelSize &size, QString *path)
{
    *path = folder + QLatin1Char('/') + fileNamePart(label.unit) + QStringLiteral("-%1.pdf").arg(label.entry);
    OutputFile file(*path, OutputFile::Readers::Anyone, OutputFile::Placement::Keep);
    if (file.write(labelsPdf({label}, size)) && file.commit())
        return {};
    return file.error();
}
