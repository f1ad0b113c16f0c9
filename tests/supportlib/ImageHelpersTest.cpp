#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include "ImageHelpers.h"

namespace {

const QColor kTint(0xff, 0x2d, 0x55);

// Black on its left half, transparent on its right: what a template icon looks like.
QImage halfOpaque(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(0, 0, size / 2, size, Qt::black);
    return image;
}

void expectTintedOnTheLeftOnly(const QImage& image)
{
    ASSERT_FALSE(image.isNull());
    const int w = image.width();
    const int h = image.height();
    for (const QPoint at : {QPoint(0, 0), QPoint(w / 4, h / 2), QPoint(w / 2 - 1, h - 1)}) {
        SCOPED_TRACE(::testing::Message() << "opaque " << at.x() << "," << at.y());
        EXPECT_EQ(image.pixelColor(at).rgba(), kTint.rgba());
    }
    for (const QPoint at : {QPoint(w / 2, 0), QPoint(3 * w / 4, h / 2), QPoint(w - 1, h - 1)}) {
        SCOPED_TRACE(::testing::Message() << "transparent " << at.x() << "," << at.y());
        EXPECT_EQ(image.pixelColor(at).alpha(), 0);
    }
}

TEST(ImageHelpers, TemplateIconTakesTheColourOnItsOpaquePixelsAtEverySize)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(halfOpaque(16)));
    icon.addPixmap(QPixmap::fromImage(halfOpaque(32)));
    icon.setIsMask(true);

    const QIcon tinted = ImageHelpers::tinted(icon, kTint);
    EXPECT_FALSE(tinted.isMask());
    EXPECT_NE(tinted.cacheKey(), icon.cacheKey());
    EXPECT_EQ(tinted.availableSizes(), icon.availableSizes());
    for (const int size : {16, 32}) {
        SCOPED_TRACE(size);
        const QImage drawn = tinted.pixmap(QSize(size, size), 1.0).toImage();
        EXPECT_EQ(drawn.size(), QSize(size, size));
        expectTintedOnTheLeftOnly(drawn);
    }
}

TEST(ImageHelpers, TintedIconPaintsTheColour)
{
    QIcon icon(QPixmap::fromImage(halfOpaque(24)));
    icon.setIsMask(true);
    const QIcon tinted = ImageHelpers::tinted(icon, kTint);

    QImage canvas(24, 24, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        tinted.paint(&painter, canvas.rect());
    }
    expectTintedOnTheLeftOnly(canvas);
}

TEST(ImageHelpers, PartlyTransparentPixelsKeepTheirAlpha)
{
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0, 0, 0, 128));
    const QColor drawn = ImageHelpers::tinted(image, kTint, true).pixelColor(1, 1);
    EXPECT_NEAR(drawn.alpha(), 128, 1);
    EXPECT_NEAR(drawn.red(), kTint.red(), 2);
    EXPECT_NEAR(drawn.green(), kTint.green(), 2);
    EXPECT_NEAR(drawn.blue(), kTint.blue(), 2);
}

TEST(ImageHelpers, ScalableTemplateIsTintedAtAnySize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("half.svg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
        R"(<rect x="0" y="0" width="8" height="16" fill="#000"/></svg>)");
    file.close();
    QIcon icon(path);
    icon.setIsMask(true);

    const QIcon tinted = ImageHelpers::tinted(icon, kTint);
    for (const int size : {22, 48}) {
        SCOPED_TRACE(size);
        expectTintedOnTheLeftOnly(tinted.pixmap(QSize(size, size), 1.0).toImage());
    }
}

TEST(ImageHelpers, NonTemplateIconComesBackUnchanged)
{
    const QIcon icon(QPixmap::fromImage(halfOpaque(16)));
    ASSERT_FALSE(icon.isMask());
    const QIcon same = ImageHelpers::tinted(icon, kTint);
    EXPECT_EQ(same.cacheKey(), icon.cacheKey());
    EXPECT_EQ(same.pixmap(16, 16).toImage().pixelColor(0, 0).rgba(), QColor(Qt::black).rgba());
}

TEST(ImageHelpers, ImagesAreTintedOnlyWhenTheyAreTemplates)
{
    const QImage image = halfOpaque(8);
    EXPECT_EQ(ImageHelpers::tinted(image, kTint, false), image);
    expectTintedOnTheLeftOnly(ImageHelpers::tinted(image, kTint, true));
}

TEST(ImageHelpers, ImageOfAViewHasItsSizeAndContents)
{
    QWidget view;
    view.resize(40, 30);
    view.setAutoFillBackground(true);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, Qt::red);
    view.setPalette(palette);

    const QImage image = ImageHelpers::image(&view);
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(40, 30));
    EXPECT_EQ(image.pixelColor(0, 0).rgb(), QColor(Qt::red).rgb());
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1).rgb(), QColor(Qt::red).rgb());
}

TEST(ImageHelpers, NoViewGivesANullImage)
{
    EXPECT_TRUE(ImageHelpers::image(nullptr).isNull());
}

} // namespace
