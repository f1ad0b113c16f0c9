#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QtMath>

#include "ui/TrayIconPainter.h"

namespace {

// The pixel on the ring's centre line at a clockwise angle from twelve o'clock.
QColor ringPixel(const QImage& image, double degrees)
{
    const double s = image.width();
    const double stroke = qMax(1.75, s * 0.13);
    const double radius = s / 2 - qMax(0.75, s * 0.04) - stroke / 2;
    const double a = qDegreesToRadians(degrees);
    return image.pixelColor(qFloor(s / 2 + radius * qSin(a)), qFloor(s / 2 - radius * qCos(a)));
}

QImage onPanel(const QImage& icon, const QColor& panel)
{
    QImage shown(icon.size(), QImage::Format_RGB32);
    shown.fill(panel);
    QPainter painter(&shown);
    painter.drawImage(0, 0, icon);
    return shown;
}

TEST(TrayIconPainter, IsARoundIconOfTheRequestedSize)
{
    for (const int size : {16, 22, 32, 64}) {
        SCOPED_TRACE(size);
        const QImage image = TrayIconPainter::paint(size, 24, 0.3, false, false);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
        EXPECT_EQ(image.pixelColor(size - 1, size - 1).alpha(), 0);
        EXPECT_EQ(image.pixelColor(size / 2, size / 2).alpha(), 255);
    }
    EXPECT_TRUE(TrayIconPainter::paint(0, 24, 0.3, false, false).isNull());
}

TEST(TrayIconPainter, TheNumberChangesThePixels)
{
    for (const int size : {16, 22, 32, 64}) {
        SCOPED_TRACE(size);
        const QImage twentyFour = TrayIconPainter::paint(size, 24, 0.3, false, false);
        EXPECT_NE(twentyFour, TrayIconPainter::paint(size, 25, 0.3, false, false));
        EXPECT_NE(twentyFour, TrayIconPainter::paint(size, 4, 0.3, false, false));
        EXPECT_NE(twentyFour, TrayIconPainter::paint(size, -1, 0.3, false, false));
    }
}

TEST(TrayIconPainter, NumbersThatDoNotFitAreLeftOut)
{
    EXPECT_EQ(TrayIconPainter::paint(16, 1000, 0.3, false, false),
              TrayIconPainter::paint(16, 2000, 0.3, false, false));
    EXPECT_NE(TrayIconPainter::paint(64, 1000, 0.3, false, false),
              TrayIconPainter::paint(64, 2000, 0.3, false, false));
}

TEST(TrayIconPainter, RingFillsClockwiseFromTheTopInThePhaseColour)
{
    const QColor task(0xff, 0x2d, 0x55);
    const QColor freeTime(0x7b, 0xd4, 0x22);
    for (const bool isFreeTime : {false, true}) {
        SCOPED_TRACE(isFreeTime);
        const QImage image = TrayIconPainter::paint(64, 10, 0.25, isFreeTime, false);
        EXPECT_EQ(ringPixel(image, 45).rgb(), (isFreeTime ? freeTime : task).rgb());
        const QColor undone = ringPixel(image, 180);
        EXPECT_LT(qAbs(undone.red() - undone.green()), 16) << "the track is grey";
    }
}

TEST(TrayIconPainter, PausedLooksDifferent)
{
    for (const int size : {16, 22, 64}) {
        SCOPED_TRACE(size);
        EXPECT_NE(TrayIconPainter::paint(size, 17, 0.5, false, false),
                  TrayIconPainter::paint(size, 17, 0.5, false, true));
    }
    const QColor running = ringPixel(TrayIconPainter::paint(64, 17, 0.5, false, false), 90);
    const QColor paused = ringPixel(TrayIconPainter::paint(64, 17, 0.5, false, true), 90);
    EXPECT_LT(paused.saturation(), running.saturation());
}

TEST(TrayIconPainter, StandsOutOnLightAndDarkPanels)
{
    const QImage icon = TrayIconPainter::paint(32, 24, 0.1, false, false);
    for (const QColor& panel : {QColor(Qt::white), QColor(0xf0, 0xf0, 0xf0),
                                QColor(0x2b, 0x2b, 0x2b), QColor(Qt::black)}) {
        SCOPED_TRACE(panel.name().toStdString());
        const QImage shown = onPanel(icon, panel);
        // Down the middle: some pixel of the outer edge differs clearly from the panel, and
        // the digits differ clearly from the disc behind them.
        int edgeContrast = 0;
        for (int y = 0; y < 6; ++y)
            edgeContrast = qMax(edgeContrast, qAbs(qGray(shown.pixel(16, y)) - qGray(panel.rgb())));
        EXPECT_GE(edgeContrast, 60);
        int lightest = 0;
        int darkest = 255;
        for (int y = 10; y < 22; ++y) {
            for (int x = 8; x < 24; ++x) {
                lightest = qMax(lightest, qGray(shown.pixel(x, y)));
                darkest = qMin(darkest, qGray(shown.pixel(x, y)));
            }
        }
        EXPECT_GE(lightest - darkest, 150);
    }
}

} // namespace
