#include "helptext.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

QString readHelpText(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("ERROR: Canot open the help file.");
    QFile file(path);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    QTextStream in(&file);
    QString text;
    do {
        const QString line = in.readLine();
        text += line + QLatin1Char('\n');
        if (line == QLatin1String("---"))
            break;
    } while (!in.atEnd());
    return text;
}
