#pragma once

#include <QByteArray>

// A stream read to its end, whatever it is: a file, a pipe that delivers in
// pieces, a terminal. Reads stop past `limit` bytes, so that an endless
// stream cannot fill the memory.
struct StreamRead
{
    QByteArray bytes;
    int error = 0;         // errno of a failed read
    bool tooLarge = false;  // more than the limit came
};

StreamRead readStream(int fd, qint64 limit);
