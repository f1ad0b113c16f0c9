#pragma once

#include <QList>
#include <QWidget>

#include "store/Date.h"
#include "store/WorkActivity.h"

// The stretches of one row drawn on the timeline: the visible range spans the widget, with a
// faint line every two hours as the header labels them.
class StretchView : public QWidget {
    Q_OBJECT
public:
    explicit StretchView(const QColor& color, QWidget* parent = nullptr);

    void setActivities(const QList<WorkActivity>& activities);
    void setRange(Date from, Date to);

    // The stretches' horizontal extents in the widget, clipped to the range; a stretch wholly
    // outside gives none.
    QList<QPair<qreal, qreal>> extents() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    QList<WorkActivity> m_activities;
    Date m_from;
    Date m_to;
};
