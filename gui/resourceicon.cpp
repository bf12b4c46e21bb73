#include "resourceicon.h"

#include <QIconEngine>
#include <QPainter>

namespace {

class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(const QString &path) : m_path(path) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(m_path); }

private:
    const QIcon &icon()
    {
        if (m_icon.isNull())
            m_icon.addFile(m_path, QSize(), QIcon::Normal, QIcon::Off);
        return m_icon;
    }

    QString m_path;
    QIcon m_icon;
};

} // namespace

QIcon resourceIcon(const QString &path)
{
    return QIcon(new DeferredIconEngine(path));
}
