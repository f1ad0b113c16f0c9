#include "ui/ThiefPicture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "thieves/ThiefImages.h"

namespace {

QPixmap rendered(const QByteArray& bytes, int side, qreal pixelRatio)
{
    const int pixels = qRound(side * pixelRatio);
    QImage image;
    QSvgRenderer svg(bytes);
    if (svg.isValid()) {
        image = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        QSizeF size = svg.defaultSize();
        size.scale(pixels, pixels, Qt::KeepAspectRatio);
        svg.render(
            &painter,
            QRectF(QPointF((pixels - size.width()) / 2, (pixels - size.height()) / 2), size));
    } else if (!image.loadFromData(bytes)) {
        return QPixmap();
    } else {
        image = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

} // namespace

QPixmap ThiefPicture::pixmap(const std::optional<QByteArray>& bytes, int side, qreal pixelRatio)
{
    if (bytes && !bytes->isEmpty()) {
        QPixmap own = rendered(*bytes, side, pixelRatio);
        if (!own.isNull())
            return own;
    }
    return rendered(ThiefImages::namedOrGeneric(QString::fromLatin1(ThiefImages::generic)), side,
                    pixelRatio);
}
