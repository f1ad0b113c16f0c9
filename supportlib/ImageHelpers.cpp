#include "ImageHelpers.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QWidget>

namespace {

// Only the opaque part of the image takes the colour; its alpha is kept.
QImage fillOpaquePixels(const QImage& image, const QColor& with)
{
    QImage copy = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&copy);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(QRectF(QPointF(0, 0), copy.deviceIndependentSize()), with);
    return copy;
}

// Tints the template lazily, so a scalable template stays crisp at every size it is asked
// for. Modes other than Normal are derived from the tinted pixmap the way Qt derives them
// for any icon, so a disabled tinted icon still looks disabled.
class TintedIconEngine final : public QIconEngine {
public:
    TintedIconEngine(const QIcon& source, const QColor& with)
        : m_source(source)
        , m_with(with)
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        const QSizeF size = drawn.deviceIndependentSize();
        const QPointF corner(rect.x() + (rect.width() - size.width()) / 2,
                             rect.y() + (rect.height() - size.height()) / 2);
        painter->drawPixmap(corner, drawn);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_source.actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QString key = QStringLiteral("zestra-tinted-%1-%2-%3x%4-%5-%6")
                                .arg(m_source.cacheKey())
                                .arg(m_with.rgba64(), 0, 16)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(int(mode))
                                .arg(int(state));
        QPixmap result;
        if (QPixmapCache::find(key, &result))
            return result;
        const QPixmap plain = m_source.pixmap(size, 1.0, QIcon::Normal, state);
        if (plain.isNull())
            return plain;
        result = QPixmap::fromImage(fillOpaquePixels(plain.toImage(), m_with));
        if (mode != QIcon::Normal)
            result = QIcon(result).pixmap(result.size(), 1.0, mode, state);
        QPixmapCache::insert(key, result);
        return result;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_source.availableSizes(mode, state);
    }

    bool isNull() override { return m_source.isNull(); }
    QString key() const override { return QStringLiteral("ZestraTinted"); }
    QIconEngine* clone() const override { return new TintedIconEngine(m_source, m_with); }

private:
    QIcon m_source;
    QColor m_with;
};

} // namespace

QIcon ImageHelpers::tinted(const QIcon& icon, const QColor& with)
{
    if (!icon.isMask() || icon.isNull())
        return icon;
    // A new icon starts as a non-template.
    return QIcon(new TintedIconEngine(icon, with));
}

QImage ImageHelpers::tinted(const QImage& image, const QColor& with, bool isTemplate)
{
    if (!isTemplate || image.isNull())
        return image;
    return fillOpaquePixels(image, with);
}

QImage ImageHelpers::image(QWidget* view)
{
    if (!view)
        return {};
    return view->grab().toImage();
}
