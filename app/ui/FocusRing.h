#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// How keyboard focus shows on the popover's controls: a blue ring, in the style sheets of
// controls whose own borders were taken away and in the views that draw themselves.
class FocusRing {
public:
    static constexpr int width = 2;
    static constexpr const char* colorName = "#59b6e8";

    static QColor color();
    // A transparent border at rest that turns blue with focus, so nothing moves when it does.
    // `selector` names the controls, e.g. "QToolButton".
    static QString styleSheet(const QString& selector);

    static void paintRoundedRect(QPainter& painter, const QRectF& rect, double radius);
    static void paintCircle(QPainter& painter, const QPointF& centre, double radius);
};
