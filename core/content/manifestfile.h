#pragma once

#include <QByteArray>
#include <QString>

// A manifest's bytes, read whole only when it can be one: a regular file (or
// standard input, "-", read to its end) of at most MaxBytes. Anything else is
// refused before a byte of it is read, so that /dev/zero or a FIFO that
// never ends cannot fill the memory.
struct ManifestBytes
{
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    enum class Problem { None, Unreadable, NotRegularFile, TooLarge };

    QByteArray bytes;
    Problem problem = Problem::None;
    int error = 0;  // errno, for Unreadable
};

ManifestBytes readManifestBytes(const QString &path);
