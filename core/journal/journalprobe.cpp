#include "journalprobe.h"

#include <QHash>

#include <cstring>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

using ReadAt = std::function<QByteArray(qint64 offset, int length)>;

// SQLite's big-endian varint: up to nine bytes.
std::optional<quint64> varint(const QByteArray &bytes, int *at)
{
    quint64 value = 0;
    for (int i = 0; i < 9; ++i) {
        if (*at >= bytes.size())
            return std::nullopt;
        const auto byte = quint8(bytes[(*at)++]);
        if (i == 8)
            return (value << 8) | byte;
        value = (value << 7) | (byte & 0x7f);
        if (!(byte & 0x80))
            return value;
    }
    return value;
}

quint32 bigEndian(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

// The first two columns of a schema row (type and name), as text; nothing
// when the record does not read as one.
std::optional<std::pair<QByteArray, QByteArray>> typeAndName(const QByteArray &page, int at)
{
    if (!varint(page, &at) || !varint(page, &at))  // the payload's size, the rowid
        return std::nullopt;
    const int recordStart = at;
    const std::optional<quint64> headerSize = varint(page, &at);
    if (!headerSize || *headerSize > 1000)
        return std::nullopt;
    QByteArray columns[2];
    int value = recordStart + int(*headerSize);
    for (QByteArray &column : columns) {
        const std::optional<quint64> serial = varint(page, &at);
        if (!serial || *serial < 13 || *serial % 2 == 0 || *serial > 2 * 1000 + 13)
            return std::nullopt;  // text, and short: a schema row's type and name
        const int length = int((*serial - 13) / 2);
        if (value + length > page.size())
            return std::nullopt;
        column = page.mid(value, length);
        value += length;
    }
    return std::make_pair(columns[0], columns[1]);
}

struct Schema
{
    int objects = 0;
    bool marked = false;
    bool readable = true;
};

// The schema table's rows on `pageNumber` and the pages under it.
void readSchemaPage(const ReadAt &read, quint32 pageSize, quint32 pageNumber, int depth, Schema &schema)
{
    const QByteArray page = read(qint64(pageNumber - 1) * pageSize, int(pageSize));
    const int header = pageNumber == 1 ? 100 : 0;
    if (depth > 8 || page.size() != int(pageSize) || header + 12 > page.size()) {
        schema.readable = false;
        return;
    }
    const quint8 type = quint8(page[header]);
    const int cells = int(bigEndian(page, header + 3, 2));
    const int pointers = header + (type == 0x05 ? 12 : 8);
    if ((type != 0x05 && type != 0x0d) || pointers + 2 * cells > page.size()) {
        schema.readable = false;
        return;
    }
    for (int c = 0; c < cells && schema.readable; ++c) {
        const int at = int(bigEndian(page, pointers + 2 * c, 2));
        if (at + 4 > page.size()) {
            schema.readable = false;
        } else if (type == 0x05) {
            readSchemaPage(read, pageSize, bigEndian(page, at, 4), depth + 1, schema);
        } else if (const auto row = typeAndName(page, at)) {
            ++schema.objects;
            schema.marked |= row->first == "table" && row->second == "journal_schema";
        } else {
            schema.readable = false;
        }
    }
    if (type == 0x05 && schema.readable)
        readSchemaPage(read, pageSize, bigEndian(page, header + 8, 4), depth + 1, schema);
}

// The pages a -wal holds for its database: for each page, where its newest
// committed frame's bytes begin. Frames count from the header's salts on, up
// to the last commit; a frame of an older generation, or one after the last
// commit, is not part of the database.
struct WalPages
{
    quint32 pageSize = 0;
    QHash<quint32, qint64> at;
};

WalPages walPages(const ReadAt &read)
{
    constexpr int HeaderSize = 32;
    constexpr int FrameHeaderSize = 24;
    WalPages pages;
    const QByteArray header = read(0, HeaderSize);
    if (header.size() < HeaderSize || (bigEndian(header, 0, 4) & 0xfffffffe) != 0x377f0682)
        return pages;
    const quint32 pageSize = bigEndian(header, 8, 4) == 1 ? 65536 : bigEndian(header, 8, 4);
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return pages;
    QHash<quint32, qint64> pending;
    for (qint64 frame = HeaderSize;; frame += FrameHeaderSize + pageSize) {
        const QByteArray head = read(frame, FrameHeaderSize);
        if (head.size() < FrameHeaderSize || head.mid(8, 8) != header.mid(16, 8)
            || read(frame + FrameHeaderSize + pageSize - 1, 1).size() != 1)
            break;
        pending.insert(bigEndian(head, 0, 4), frame + FrameHeaderSize);
        if (bigEndian(head, 4, 4) != 0) {  // a commit: what came before it is the database's
            pages.at.insert(pending);
            pending.clear();
        }
    }
    pages.pageSize = pageSize;
    return pages;
}

// The database's bytes as SQLite sees them: the file's, with the pages the
// -wal has committed read from there.
ReadAt withWal(const ReadAt &file, const ReadAt &wal)
{
    const WalPages pages = walPages(wal);
    if (pages.at.isEmpty())
        return file;
    return [file, wal, pages](qint64 offset, int length) {
        const auto page = quint32(offset / pages.pageSize) + 1;
        const qint64 within = offset % pages.pageSize;
        const auto found = pages.at.constFind(page);
        if (found == pages.at.cend() || within + length > pages.pageSize)
            return file(offset, length);
        return wal(*found + within, length);
    };
}

JournalKind probe(const ReadAt &read)
{
    const QByteArray header = read(0, 100);
    if (header.isEmpty())
        return JournalKind::Empty;
    if (header.size() < 100 || std::memcmp(header.constData(), "SQLite format 3", 16) != 0)
        return JournalKind::Foreign;
    const quint32 sizeField = bigEndian(header, 16, 2);
    const quint32 pageSize = sizeField == 1 ? 65536 : sizeField;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return JournalKind::Foreign;
    Schema schema;
    readSchemaPage(read, pageSize, 1, 0, schema);
    if (!schema.readable)
        return JournalKind::Foreign;
    return schema.marked ? JournalKind::Ours : schema.objects == 0 ? JournalKind::Empty : JournalKind::Foreign;
}

ReadAt readFrom(int fd)
{
    return [fd](qint64 offset, int length) {
        if (fd < 0 || length <= 0)
            return QByteArray();
        QByteArray bytes(length, Qt::Uninitialized);
        const ssize_t got = ::pread(fd, bytes.data(), size_t(length), off_t(offset));
        bytes.resize(got < 0 ? 0 : qsizetype(got));
        return bytes;
    };
}

ReadAt readFrom(const QByteArray &bytes)
{
    return [&bytes](qint64 offset, int length) {
        return offset >= 0 && offset < bytes.size() && length > 0 ? bytes.mid(offset, length) : QByteArray();
    };
}

} // namespace

JournalKind probeJournalFile(int fd, int walFd)
{
    return probe(withWal(readFrom(fd), readFrom(walFd)));
}

JournalKind probeJournalBytes(const QByteArray &file, const QByteArray &wal)
{
    return probe(withWal(readFrom(file), readFrom(wal)));
}
