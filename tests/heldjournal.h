#pragma once

// A SQLite journal held by another program (journalholder): nobody reads or
// writes it until it is let go, or until the milliseconds given have passed.

#include <QProcess>
#include <QString>

class HeldJournal
{
public:
    explicit HeldJournal(const QString &path, int forMs = 0)
    {
        QStringList arguments = {path};
        if (forMs > 0)
            arguments << QString::number(forMs);
        m_holder.start(QStringLiteral(JOURNALHOLDER), arguments);
        m_held = m_holder.waitForReadyRead(10000) && m_holder.readLine().trimmed() == "held";
    }
    ~HeldJournal() { release(); }
    HeldJournal(const HeldJournal &) = delete;
    HeldJournal &operator=(const HeldJournal &) = delete;

    bool isHeld() const { return m_held; }
    void release()
    {
        m_holder.closeWriteChannel();
        m_holder.waitForFinished(15000);
    }

private:
    QProcess m_holder;
    bool m_held = false;
};
