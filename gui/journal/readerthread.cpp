#include "readerthread.h"

#include <QThread>

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
    m_thread = nullptr;
    m_reader = nullptr;
}
