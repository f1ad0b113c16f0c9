#include "ui/FocusRing.h"

#include <QPainter>

#include "ColorHelpers.h"

QColor FocusRing::color()
{
    return ColorHelpers::color(QLatin1String(colorName));
}

QString FocusRing::styleSheet(const QString& selector)
{
    return QStringLiteral("%1 { border: %2px solid transparent; } %1:focus { border-color: %3; }")
        .arg(selector)
        .arg(width)
        .arg(QLatin1String(colorName));
}

void FocusRing::paintRoundedRect(QPainter& painter, const QRectF& rect, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color(), width));
    painter.setBrush(Qt::NoBrush);
    const double inset = width / 2.0;
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius, radius);
    painter.restore();
}

void FocusRing::paintCircle(QPainter& painter, const QPointF& centre, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color(), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}
