#pragma once

#include "core/provisioning/steps.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>

class QLabel;
class QProgressBar;
struct PortTurn;

// One port of the station at arm's length: its key and adapter, the unit on
// it, the stage with a bar, how the last unit ended in words and colour
// (never colour alone: each result starts with its sign), and the time.
// Space on the focused tile asks for the next unit.
class PortTile : public QFrame
{
    Q_OBJECT

public:
    PortTile(int key, const QString &port, const QString &adapter, QWidget *parent);

    void showWaiting();
    void showClaimed(const QString &unit);
    void showProgress(Stage stage, int value, int maximum);
    void showTurn(const PortTurn &turn);
    QString resultText() const;
    // A line under the result: what became of the unit's label.
    void addNote(const QString &note);
    // Whether the port has waited on the journal too long to say nothing.
    void showJournalWait(bool waiting);
    // A failed unit keeps its colour until the technician has seen it: the
    // tile's key first acknowledges it (true), and only then starts the port.
    bool acknowledge();
    bool awaitsAcknowledgement() const { return m_unacknowledged; }

signals:
    void startRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Tone { Neutral, Good, Bad, Warning };
    void setResult(const QString &text, Tone tone);
    void showElapsed();

    int m_key;
    QLabel *m_title;
    QLabel *m_unit;
    QLabel *m_stage;
    QProgressBar *m_bar;
    QLabel *m_result;
    QLabel *m_elapsed;
    QLabel *m_journalWait;
    QElapsedTimer m_clock;
    QTimer m_ticker;
    bool m_unacknowledged = false;
    QString m_outcome;  // how the last unit ended, kept past its acknowledgement
};
