#include "helptext.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

std::optional<QString> readHelpText(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    QFile file(path);
    // Something other than a plain file reads as an empty one rather than
    // keeping the window waiting.
    if (info.isFile())
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
