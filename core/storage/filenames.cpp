#include "filenames.h"

QString fileNamePart(const QString &name)
{
    QString part = name.startsWith(QLatin1String("/dev/")) ? name.mid(5) : name;
    for (QChar &c : part) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-' && c != u'_')
            c = u'_';
    }
    return part;
}
