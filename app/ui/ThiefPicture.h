#pragma once

#include <optional>

#include <QByteArray>
#include <QPixmap>

// A thief's or an activity's picture at a given size: its stored bytes (SVG or any image
// format Qt reads), or the generic thief when there are none or they do not decode.
class ThiefPicture {
public:
    static QPixmap pixmap(const std::optional<QByteArray>& bytes, int side, qreal pixelRatio);
};
