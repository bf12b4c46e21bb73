#include "exchangelog.h"

#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <mutex>

namespace ExchangeLog {

namespace {
std::mutex mutex;
QFile *file = nullptr;
QElapsedTimer clock;
std::atomic<bool> active = false;
} // namespace

bool start(const QString &path, QString *error)
{
    const std::lock_guard lock(mutex);
    auto opened = std::make_unique<QFile>(path);
    if (!opened->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = opened->errorString();
        return false;
    }
    delete file;
    file = opened.release();
    clock.start();
    active = true;
    return true;
}

void stop()
{
    const std::lock_guard lock(mutex);
    active = false;
    delete file;
    file = nullptr;
}

bool isActive()
{
    return active;
}

qint64 elapsedMs()
{
    const std::lock_guard lock(mutex);
    return clock.isValid() ? clock.elapsed() : 0;
}

void write(const QString &port, bool toModule, qint64 atMs, const QByteArray &bytes)
{
    QByteArray text;
    for (char byte : bytes)
        text += byte >= 0x20 && byte < 0x7F ? byte : '.';
    const QByteArray line = QByteArray::number(atMs).rightJustified(8) + " ms  " + port.toUtf8() + "  "
                          + (toModule ? ">" : "<") + "  " + bytes.toHex(' ').toUpper() + "  |" + text + "|\n";
    const std::lock_guard lock(mutex);
    if (file)
        file->write(line);
}

} // namespace ExchangeLog
