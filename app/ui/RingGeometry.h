#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

class QPainter;

// Where a ring view puts its ring inside its bounds.
enum class RingAlign { top, center, bottom };

// The progress rings of the activity panel, as plain arithmetic so it can be checked without a
// screen. Angles are in radians, measured counter-clockwise from three o'clock.
class RingGeometry {
public:
    // The colours of one ring: light for accents, dark for the progress arc, background for
    // the full circle under it.
    struct Theme {
        QString light;
        QString dark;
        QString background;

        static Theme task();
        static Theme freeTime();
        bool operator==(const Theme&) const = default;
    };

    struct Arc {
        double startAngle;
        double endAngle;
    };

    static constexpr double backgroundLineWidth = 15.0;
    static constexpr double progressLineWidth = 12.0;
    // Keeps the ring clear of the view's edges on its aligned side.
    static constexpr double edgeMargin = 20.0;

    // Whole percent of elapsed over total, kept within 0...100 so a count or a phase that ran
    // past its total draws a full ring rather than wrapping; nothing to count is full.
    static int percentage(int elapsed, int total);
    static double radius(const QSizeF& size);
    // In widget coordinates (y grows downward).
    static QPointF centre(const QSizeF& size, RingAlign align, double radius);
    // From the top of the circle, clockwise over the given percentage.
    static Arc arc(int percent);
    // The same arc in QPainter's sixteenths of a degree.
    static int qtStartAngle(const Arc& arc);
    static int qtSpanAngle(const Arc& arc);

    // Both circles, antialiased with round caps.
    static void paint(QPainter& painter, const QSizeF& size, RingAlign align, const Theme& theme,
                      int percent);
};
