#include "ui/RingGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPen>
#include <QRectF>

#include "ColorHelpers.h"

namespace {

constexpr double pi = std::numbers::pi;

int sixteenthsOfDegree(double radians)
{
    return static_cast<int>(std::lround(radians * 180.0 / pi * 16.0));
}

} // namespace

RingGeometry::Theme RingGeometry::Theme::task()
{
    return {QStringLiteral("#ff6d88"), QStringLiteral("#ff2d55"), QStringLiteral("#F0F2F5")};
}

RingGeometry::Theme RingGeometry::Theme::freeTime()
{
    return {QStringLiteral("#aae371"), QStringLiteral("#7bd422"), QStringLiteral("#F0F2F5")};
}

int RingGeometry::percentage(int elapsed, int total)
{
    if (total <= 0)
        return 100;
    return std::clamp(elapsed * 100 / total, 0, 100);
}

double RingGeometry::radius(const QSizeF& size)
{
    return (std::min(size.width(), size.height()) - backgroundLineWidth) / 2.3;
}

QPointF RingGeometry::centre(const QSizeF& size, RingAlign align, double radius)
{
    const double x = size.width() / 2.0;
    switch (align) {
    case RingAlign::top:
        return {x, edgeMargin + radius};
    case RingAlign::bottom:
        return {x, size.height() - (edgeMargin + radius)};
    case RingAlign::center:
        break;
    }
    return {x, size.height() / 2.0};
}

RingGeometry::Arc RingGeometry::arc(int percent)
{
    return {pi / 2.0, (1.0 - percent / 100.0) * 2.0 * pi + pi / 2.0};
}

int RingGeometry::qtStartAngle(const Arc& arc)
{
    return sixteenthsOfDegree(arc.startAngle);
}

int RingGeometry::qtSpanAngle(const Arc& arc)
{
    // Clockwise from the start: a negative span for QPainter. The end angle sits a full turn
    // minus the covered fraction ahead, so the covered part is what is left of that turn.
    return -sixteenthsOfDegree(2.0 * pi - (arc.endAngle - arc.startAngle));
}

void RingGeometry::paint(QPainter& painter, const QSizeF& size, RingAlign align, const Theme& theme,
                         int percent)
{
    const double r = radius(size);
    if (r <= 0)
        return;
    const QPointF c = centre(size, align, r);
    const QRectF circle(c.x() - r, c.y() - r, 2 * r, 2 * r);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ColorHelpers::color(theme.background), backgroundLineWidth, Qt::SolidLine,
                        Qt::RoundCap));
    painter.drawEllipse(circle);
    if (percent > 0) {
        const Arc progress = arc(percent);
        painter.setPen(
            QPen(ColorHelpers::color(theme.dark), progressLineWidth, Qt::SolidLine, Qt::RoundCap));
        if (percent >= 100)
            painter.drawEllipse(circle);
        else
            painter.drawArc(circle, qtStartAngle(progress), qtSpanAngle(progress));
    }
    painter.restore();
}
