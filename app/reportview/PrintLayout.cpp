#include "PrintLayout.h"

#include <QLocale>
#include <QMarginsF>
#include <QPageSize>

namespace {

// A CSS pixel is 1/96 inch, a point 1/72.
constexpr qreal PointsPerCssPixel = 72.0 / 96.0;
constexpr qreal MarginMillimetres = 10.0;

} // namespace

QPageLayout PrintLayout::landscape()
{
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(
        QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Landscape,
        QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
        QPageLayout::Millimeter);
}

QPageLayout PrintLayout::wholePage(QSizeF cssPixels)
{
    // A point more than the content, so rounding never starts a second page.
    const QSizeF points(cssPixels.width() * PointsPerCssPixel + 1.0,
                        cssPixels.height() * PointsPerCssPixel + 1.0);
    return QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
}
