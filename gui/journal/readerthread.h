#pragma once

#include <QObject>
#include <QString>

class QThread;

// A journal reader on a thread of its own, for the journal view and the
// station alike. A query that waits on a database that hangs keeps the
// thread until it returns, and the window never waits for it: release()
// cuts the reader's signals, asks the thread to end after the query, and
// the reader and the thread delete themselves once it has.
class ReaderThread
{
public:
    ReaderThread() = default;
    ~ReaderThread();
    ReaderThread(const ReaderThread &) = delete;
    ReaderThread &operator=(const ReaderThread &) = delete;

    // `reader`, made without a parent, runs from now on on a new thread.
    template <class Reader>
    Reader *start(Reader *reader, const QString &name)
    {
        begin(reader, name);
        return reader;
    }
    void release();
    bool isRunning() const { return m_thread != nullptr; }

private:
    void begin(QObject *reader, const QString &name);

    QThread *m_thread = nullptr;
    QObject *m_reader = nullptr;
};
