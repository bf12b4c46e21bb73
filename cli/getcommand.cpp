#include "getcommand.h"

#include <QJsonDocument>

QString GetCommand::summary() const
{
    return QStringLiteral("Print the values of named fields of a content file, one per line.");
}

void GetCommand::configure(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The content file (- for standard input)."));
    parser.addPositionalArgument(QStringLiteral("names"), QStringLiteral("Fields by the form's object names: m_nev, t1, tc1_3."),
                                 QStringLiteral("NAME..."));
    parser.addOption({QStringLiteral("json"), QStringLiteral("The values as one JSON object.")});
}

int GetCommand::execute(QCommandLineParser &parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() < 2)
        return fail(Refused, QStringLiteral("usage: tavir340-cli get FILE NAME..."));
    const std::optional<FormValues> form = loadForm(arguments.first(), LongValues::Cut);
    if (!form)
        return Refused;
    QStringList values;
    QJsonObject object;
    for (const QString &name : arguments.mid(1)) {
        QString value;
        if (const int i = lineEditIndex(name); i >= 0)
            value = form->texts[i];
        else if (const int k = checkBoxIndex(name); k >= 0)
            value = form->checked[k] ? QStringLiteral("1") : QStringLiteral("0");
        else
            return fail(Refused, QStringLiteral("%1: no such field").arg(name));
        values << value;
        object.insert(name, value);
    }
    const bool written = json() ? print(stdout, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n') : printLines(stdout, values);
    return written ? Success : NotRecorded;
}
