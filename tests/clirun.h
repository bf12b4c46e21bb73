#pragma once

// tavir340-cli run as a technician's script runs it, and what it said.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

struct CliRun
{
    int code = -1;  // -1: it did not end by itself
    QString out;
    QString err;
};

// Standard output goes to `output` when given ("-": closed).
inline CliRun cli(const QStringList &arguments, const QString &output = {})
{
    QProcess process;
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/tavir340-cli");
    if (output == QLatin1String("-"))
        process.start(QStringLiteral("sh"), QStringList({QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" >&-"), program}) + arguments);
    else if (!output.isEmpty())
        process.setStandardOutputFile(output);
    if (output != QLatin1String("-"))
        process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}
