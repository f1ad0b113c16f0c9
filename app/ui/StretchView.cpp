#include "ui/StretchView.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

StretchView::StretchView(const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_color(color)
{
    setMinimumWidth(120);
    setFixedHeight(22);
}

void StretchView::setActivities(const QList<WorkActivity>& activities)
{
    m_activities = activities;
    update();
}

void StretchView::setRange(Date from, Date to)
{
    m_from = from;
    m_to = to;
    update();
}

QList<QPair<qreal, qreal>> StretchView::extents() const
{
    QList<QPair<qreal, qreal>> extents;
    const double from = m_from.timeIntervalSinceReferenceDate();
    const double span = m_to.timeIntervalSinceReferenceDate() - from;
    if (span <= 0)
        return extents;
    for (const WorkActivity& activity : m_activities) {
        const double start = std::max(activity.startTime, from);
        const double end = std::min(activity.endTime, from + span);
        if (end <= start)
            continue;
        extents.append({(start - from) / span * width(), (end - from) / span * width()});
    }
    return extents;
}

void StretchView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal middle = height() / 2.0;
    painter.setPen(QPen(QColor(0xe6, 0xe6, 0xe6), 1));
    for (int i = 0; i <= 3; ++i) {
        const qreal x = std::clamp(i * (width() - 1) / 3.0, 0.5, width() - 0.5);
        painter.drawLine(QPointF(x, 2), QPointF(x, height() - 2));
    }
    painter.setPen(QPen(QColor(0xee, 0xee, 0xee), 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3, middle), QPointF(width() - 3, middle));

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    for (const auto& [left, right] : extents()) {
        // A stretch of a few seconds still shows as a mark.
        const qreal w = std::max(right - left, 3.0);
        painter.drawRoundedRect(QRectF(left, middle - 6, w, 12), 3, 3);
    }
}
