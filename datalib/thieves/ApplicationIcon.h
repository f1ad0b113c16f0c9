#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "tallycore_export.h"

// The picture file a desktop entry's Icon names, read without the GUI toolkit: a file path,
// or a name looked up in the hicolor theme and then in pixmaps, SVG first.
class TALLYCORE_EXPORT ApplicationIcon {
public:
    // Absent when no such file is found, or it is unreadable or oversized.
    static std::optional<QByteArray> data(const QString& icon);
};
