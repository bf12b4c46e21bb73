#include "readerthread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>
#include <QThread>

namespace {
// A released thread whose query still waits is given this long as the
// program ends: none should still be at work while the program's statics and
// the database drivers go, yet a database that hangs must not hold the exit.
constexpr int ExitWaitMs = 3000;

// The threads let go, all made and released on the window's thread.
QList<QPointer<QThread>> &releasedThreads()
{
    static QList<QPointer<QThread>> threads;
    return threads;
}

void waitForReleasedThreads()
{
    const QDeadlineTimer deadline(ExitWaitMs);
    for (const QPointer<QThread> &thread : std::as_const(releasedThreads()))
        if (thread)
            thread->wait(deadline);
    releasedThreads().clear();
}
} // namespace

ReaderThread::~ReaderThread()
{
    release();
}

void ReaderThread::begin(QObject *reader, const QString &name)
{
    release();
    m_thread = new QThread;  // outlives its owner while a query still waits on the database
    m_thread->setObjectName(name);
    m_reader = reader;
    m_reader->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    QObject::connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread->start();
}

void ReaderThread::release()
{
    if (!m_thread)
        return;
    m_reader->disconnect();  // nothing it says after this reaches its owner
    m_thread->quit();
    QList<QPointer<QThread>> &released = releasedThreads();
    if (released.isEmpty())
        qAddPostRoutine(waitForReleasedThreads);  // once for each batch still to be waited for
    released.removeAll(nullptr);
    released.append(m_thread);
    m_thread = nullptr;
    m_reader = nullptr;
}
