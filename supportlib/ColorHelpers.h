#pragma once

#include <QColor>
#include <QString>

#include "chimebox_export.h"

// Colours given as hexadecimal strings ("#fe2f68", "F72020").
class CHIMEBOX_EXPORT ColorHelpers {
public:
    // One leading "#" is dropped and the rest read as a hexadecimal number the forgiving way
    // the screens' strings have always been read: leading blanks and a "0x" are allowed, the
    // digits end at the first other character, nothing readable gives black and an overflow
    // gives all ones. The low 24 bits are red, green and blue; the length is never checked.
    static QColor color(const QString& from, double alpha = 1.0);
    static QColor hexadecimal(const QString& text) { return color(text); }
};
