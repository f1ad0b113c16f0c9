#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// Pixmaps drawn from the SVG images in the resources, sharp at the screen's pixel ratio.
class SvgPixmap {
public:
    // ":/zestra/images/<name>.svg"
    static QString resourcePath(const QString& name);
    // Null when the image does not exist.
    static QPixmap render(const QString& name, const QSize& size, qreal pixelRatio = 0);
    // A monochrome image (black on transparent) painted in `tint`.
    static QPixmap tinted(const QString& name, const QSize& size, const QColor& tint,
                          qreal pixelRatio = 0);
    static QIcon tintedIcon(const QString& name, const QSize& size, const QColor& tint);
};
