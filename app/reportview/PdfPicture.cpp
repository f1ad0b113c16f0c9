#include "PdfPicture.h"

#include <QBuffer>
#include <QList>
#include <QPainter>
#include <QPdfDocument>

namespace {

constexpr qreal CssPixelsPerPoint = 96.0 / 72.0;

} // namespace

QImage PdfPicture::render(const QByteArray& pdf, qreal scale)
{
    QBuffer buffer;
    buffer.setData(pdf);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
        return {};

    QList<QImage> pages;
    int width = 0;
    int height = 0;
    for (int page = 0; page < document.pageCount(); ++page) {
        const QSizeF points = document.pagePointSize(page);
        const QSize pixels(qRound(points.width() * CssPixelsPerPoint * scale),
                           qRound(points.height() * CssPixelsPerPoint * scale));
        QImage image = document.render(page, pixels);
        if (image.isNull())
            return {};
        width = std::max(width, image.width());
        height += image.height();
        pages.append(image);
    }
    if (pages.size() == 1)
        return pages.first();

    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    int top = 0;
    for (const QImage& page : pages) {
        painter.drawImage(0, top, page);
        top += page.height();
    }
    return picture;
}
