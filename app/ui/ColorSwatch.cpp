#include "ui/ColorSwatch.h"

#include <QPainter>

#include "ui/FocusRing.h"

ColorSwatch::ColorSwatch(const QColor& color, QWidget* parent)
    : QAbstractButton(parent)
    , m_color(color)
{
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void ColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(underMouse() ? m_color.lighter(112) : m_color);
    painter.drawEllipse(centre, discDiameter / 2.0, discDiameter / 2.0);
    if (hasFocus())
        FocusRing::paintCircle(painter, centre, side / 2.0 - FocusRing::width / 2.0 - 0.5);
}

bool ColorSwatch::hitButton(const QPoint& pos) const
{
    const QPointF d = QPointF(pos) - QRectF(rect()).center();
    const double reach = side / 2.0;
    return d.x() * d.x() + d.y() * d.y() <= reach * reach;
}

void ColorSwatch::enterEvent(QEnterEvent* event)
{
    update();
    QAbstractButton::enterEvent(event);
}

void ColorSwatch::leaveEvent(QEvent* event)
{
    update();
    QAbstractButton::leaveEvent(event);
}
