#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ColorHelpers.h"
#include "ui/RingGeometry.h"
#include "ui/TimeText.h"

namespace {

constexpr double pi = std::numbers::pi;

struct PercentageCase {
    const char* name;
    int elapsed;
    int total;
    int percent;
};

TEST(RingGeometryTest, PercentageIsWholeAndBounded)
{
    const PercentageCase cases[] = {
        {"not started", 0, 1500, 0},
        {"half way", 750, 1500, 50},
        {"last second rounds down", 1499, 1500, 99},
        {"done", 1500, 1500, 100},
        {"integer division", 2, 3, 66},
        {"count past its total", 5, 4, 100},
        {"nothing to count", 1, 0, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RingGeometry::percentage(c.elapsed, c.total), c.percent) << c.name;
}

TEST(RingGeometryTest, RadiusAndCentreFollowTheSmallerSideAndTheAlignment)
{
    const QSizeF size(300, 200);
    const double r = RingGeometry::radius(size);
    EXPECT_DOUBLE_EQ(r, (200 - 15) / 2.3);
    EXPECT_EQ(RingGeometry::centre(size, RingAlign::center, r), QPointF(150, 100));
    EXPECT_EQ(RingGeometry::centre(size, RingAlign::top, r), QPointF(150, 20 + r));
    EXPECT_EQ(RingGeometry::centre(size, RingAlign::bottom, r), QPointF(150, 200 - 20 - r));
}

TEST(RingGeometryTest, ArcStartsAtTheTopAndRunsClockwise)
{
    const RingGeometry::Arc quarter = RingGeometry::arc(25);
    EXPECT_DOUBLE_EQ(quarter.startAngle, pi / 2);
    EXPECT_DOUBLE_EQ(quarter.endAngle, 0.75 * 2 * pi + pi / 2);
    EXPECT_EQ(RingGeometry::qtStartAngle(quarter), 90 * 16);
    EXPECT_EQ(RingGeometry::qtSpanAngle(quarter), -90 * 16);
    EXPECT_EQ(RingGeometry::qtSpanAngle(RingGeometry::arc(0)), 0);
    EXPECT_EQ(RingGeometry::qtSpanAngle(RingGeometry::arc(100)), -360 * 16);
}

TEST(RingGeometryTest, PaintedProgressCoversTheTopRightQuarterFirst)
{
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RingGeometry::paint(painter, image.size(), RingAlign::center,
                            RingGeometry::Theme::freeTime(), 25);
    }
    const double r = RingGeometry::radius(image.size());
    const auto at = [&](double clockwiseFromTop) {
        const double a = pi / 2 - clockwiseFromTop;
        return image.pixelColor(static_cast<int>(100 + r * std::cos(a)),
                                static_cast<int>(100 - r * std::sin(a)));
    };
    const QColor dark = ColorHelpers::color(QStringLiteral("#7bd422"));
    const QColor background = ColorHelpers::color(QStringLiteral("#F0F2F5"));
    EXPECT_EQ(at(pi / 4), dark);
    EXPECT_EQ(at(pi), background);
    EXPECT_EQ(at(1.5 * pi), background);
}

struct TimeCase {
    int remaining;
    const char* text;
    const char* unitKey;
};

TEST(TimeTextTest, MinutesAndSecondsWithTheirUnit)
{
    const TimeCase cases[] = {
        {1500, "25:00", "ACTIVITY_UNIT_MINUTES"},  {61, "01:01", "ACTIVITY_UNIT_MINUTES"},
        {60, "01:00", "ACTIVITY_UNIT_SECONDS"},    {5, "00:05", "ACTIVITY_UNIT_SECONDS"},
        {6000, "100:00", "ACTIVITY_UNIT_MINUTES"}, {599, "09:59", "ACTIVITY_UNIT_MINUTES"},
        {600, "10:00", "ACTIVITY_UNIT_MINUTES"},   {0, "00:00", "ACTIVITY_UNIT_SECONDS"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeText::text(c.remaining), QLatin1String(c.text)) << c.remaining;
        EXPECT_STREQ(TimeText::unitKey(c.remaining), c.unitKey) << c.remaining;
    }
    EXPECT_EQ(TimeText::statusTitle(1499), QStringLiteral(" 24:59"));
    EXPECT_EQ(TimeText::pausedStatusTitle(), QStringLiteral(" --:--"));
}

} // namespace
