#pragma once

#include <QColor>
#include <QString>

#include "chimebox_export.h"

// Colours given as hexadecimal strings ("#fe2f68", "F72020").
class CHIMEBOX_EXPORT ColorHelpers {
public:
    // A leading "#" is skipped and the rest scanned as a hexadecimal number (0 when it does
    // not scan); the low 24 bits give red, green and blue.
    static QColor color(const QString& from, double alpha = 1.0);
    static QColor hexadecimal(const QString& text) { return color(text); }
};
