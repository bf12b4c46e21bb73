#include "exchangelog.h"

#include <QElapsedTimer>

#include <atomic>
#include <memory>
#include <mutex>

namespace ExchangeLog {

namespace {
std::mutex mutex;
std::unique_ptr<OutputFile> file;
std::function<void(const QByteArray &)> writer;
QElapsedTimer clock;
std::atomic<bool> active = false;
} // namespace

FileError start(const QString &path)
{
    auto opened = std::make_unique<OutputFile>(path, OutputFile::Readers::OwnerOnly);  // the exchange holds the PIN
    if (opened->error())
        return opened->error();
    const std::lock_guard lock(mutex);
    file = std::move(opened);
    clock.start();
    active = true;
    return {};
}

void startWith(std::function<void(const QByteArray &line)> lineWriter)
{
    const std::lock_guard lock(mutex);
    writer = std::move(lineWriter);
    clock.start();
    active = true;
}

FileError stop()
{
    const std::lock_guard lock(mutex);
    active = false;
    writer = nullptr;
    if (!file)
        return {};
    file->commit();
    const FileError error = file->error();
    file.reset();
    return error;
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

QByteArray formatLine(const QString &port, bool toModule, qint64 atMs, const QByteArray &bytes)
{
    QByteArray text;
    for (char byte : bytes)
        text += byte >= 0x20 && byte < 0x7F ? byte : '.';
    return QByteArray::number(atMs).rightJustified(8) + " ms  " + port.toUtf8() + "  " + (toModule ? ">" : "<") + "  "
         + bytes.toHex(' ').toUpper() + "  |" + text + "|\n";
}

void write(const QString &port, bool toModule, qint64 atMs, const QByteArray &bytes)
{
    const QByteArray line = formatLine(port, toModule, atMs, bytes);
    const std::lock_guard lock(mutex);
    if (file)
        file->write(line);
    else if (writer)
        writer(line);
}

} // namespace ExchangeLog
