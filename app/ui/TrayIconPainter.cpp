#include "ui/TrayIconPainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "ColorHelpers.h"

namespace {

constexpr const char* kTaskColor = "#ff2d55";
constexpr const char* kBreakColor = "#7bd422";
constexpr const char* kDarkColor = "#313131";

// The digits as outlines, centred on their ink and as large as fits in the disc; empty
// when even the smallest readable size is too wide.
QPainterPath digitsPath(const QString& digits, const QPointF& centre, qreal diameter)
{
    QFont font;
    font.setBold(true);
    font.setStretch(digits.size() > 1 ? QFont::Condensed : QFont::Unstretched);
    const qreal widest = diameter * 0.9;
    const qreal tallest = diameter * 0.66;
    for (int pixels = qRound(diameter * 0.8); pixels >= 7; --pixels) {
        font.setPixelSize(pixels);
        QPainterPath path;
        path.addText(QPointF(0, 0), font, digits);
        const QRectF ink = path.boundingRect();
        if (ink.width() <= widest && ink.height() <= tallest)
            return path.translated(centre - ink.center());
    }
    return {};
}

} // namespace

QImage TrayIconPainter::paint(int size, int minutesLeft, double progress, bool freeTime,
                              bool paused)
{
    if (size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal s = size;
    const QPointF centre(s / 2, s / 2);
    const qreal halo = qMax(0.75, s * 0.04);
    const qreal stroke = qMax(1.75, s * 0.13);
    const qreal radius = s / 2 - halo - stroke / 2;
    const qreal disc = radius - stroke / 2 - (s >= 32 ? s * 0.03 : 0.0);

    // A light rim keeps the ring's edge visible on dark panels; the dark disc gives the
    // digits their own background on light ones.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawEllipse(centre, s / 2, s / 2);
    painter.setBrush(ColorHelpers::color(QString::fromLatin1(kDarkColor)));
    painter.drawEllipse(centre, radius + stroke / 2, radius + stroke / 2);

    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPen track(QColor(0x8e, 0x8e, 0x93, 80), stroke);
    painter.setPen(track);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ring);

    const QColor phase = ColorHelpers::color(
        QString::fromLatin1(freeTime ? kBreakColor : kTaskColor), paused ? 0.45 : 1.0);
    const double done = qBound(0.0, progress, 1.0);
    if (done > 0) {
        QPen arc(phase, stroke, Qt::SolidLine, done < 1 ? Qt::RoundCap : Qt::FlatCap);
        painter.setPen(arc);
        // Clockwise from twelve o'clock; Qt counts sixteenths of a degree counter-clockwise.
        painter.drawArc(ring, 90 * 16, -qRound(done * 360 * 16));
    }

    painter.setPen(Qt::NoPen);
    if (minutesLeft >= 0) {
        const QPainterPath digits = digitsPath(QString::number(minutesLeft), centre, 2 * disc);
        painter.setBrush(paused ? QColor(255, 255, 255, 140) : QColor(Qt::white));
        painter.drawPath(digits);
    } else {
        // No countdown yet: a dash, as the title shows "--:--".
        const QSizeF bar(disc * 0.9, qMax(1.5, disc * 0.22));
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRoundedRect(QRectF(centre - QPointF(bar.width() / 2, bar.height() / 2), bar),
                                bar.height() / 2, bar.height() / 2);
    }
    return image;
}
