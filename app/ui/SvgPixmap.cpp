#include "ui/SvgPixmap.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {

qreal effectiveRatio(qreal pixelRatio)
{
    if (pixelRatio > 0)
        return pixelRatio;
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

} // namespace

QString SvgPixmap::resourcePath(const QString& name)
{
    return QStringLiteral(":/zestra/images/") + name + QStringLiteral(".svg");
}

QPixmap SvgPixmap::render(const QString& name, const QSize& size, qreal pixelRatio)
{
    QSvgRenderer renderer(resourcePath(name));
    if (!renderer.isValid())
        return QPixmap();
    const qreal ratio = effectiveRatio(pixelRatio);
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QPixmap SvgPixmap::tinted(const QString& name, const QSize& size, const QColor& tint,
                          qreal pixelRatio)
{
    QPixmap pixmap = render(name, size, pixelRatio);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), tint);
    return pixmap;
}

QIcon SvgPixmap::tintedIcon(const QString& name, const QSize& size, const QColor& tint)
{
    return QIcon(tinted(name, size, tint));
}
