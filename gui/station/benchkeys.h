#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QKeyEvent;
class QWidget;

// The keys typed at a station's bench, told apart. A port's key pressed on
// its own starts that port; a barcode scanner types a whole code and Enter
// within a few milliseconds. So a port's key is held for ScanGapMs: a key
// that follows within that time makes both the start of a code, which Enter
// ends. Keys meant for a text field, and keys with Ctrl or Alt, go their way.
class BenchKeys : public QObject
{
    Q_OBJECT

public:
    // A scanner types a character every 2 to 20 ms; a person presses two
    // keys at least about 100 ms apart.
    static constexpr int ScanGapMs = 80;

    explicit BenchKeys(QWidget *window);
    ~BenchKeys() override;

    // Only while a batch is open: the set-up's fields take every key.
    void setActive(bool active);
    // Whether a key waits to be told apart.
    bool isHolding() const { return !m_typed.isEmpty(); }

signals:
    void portKey(int port);
    void scanned(const QString &code);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool take(const QKeyEvent &key);
    void settle();

    QWidget *m_window;
    bool m_active = false;
    QString m_typed;
    QTimer m_gap;
};
