#include "screenshot.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class FirstPaintShot : public QObject
{
public:
    FirstPaintShot(QWidget *window, const QString &path) : QObject(window), m_window(window), m_path(path)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_taken) {
            m_taken = true;
            // Once this paint is through, so that the picture is what it drew.
            QTimer::singleShot(0, this, [this] {
                const bool saved = m_window->grab().save(m_path);
                if (!saved)
                    std::fprintf(stderr, "tavir340: cannot write %s\n", qPrintable(m_path));
                QCoreApplication::exit(saved ? 0 : 1);
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    QString m_path;
    bool m_taken = false;
};

} // namespace

void saveScreenshotOnFirstPaint(QWidget *window, const QString &path)
{
    new FirstPaintShot(window, path);
}
