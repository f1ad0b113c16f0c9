#pragma once

#include <functional>

#include <QString>

#include "chimebox_export.h"

// Diagnostic lines go to standard output, one whole line at a time, from any thread.
class CHIMEBOX_EXPORT Console {
public:
    static void line(const QString& text);
    // Tests capture the lines; nullptr restores standard output.
    static void setSink(std::function<void(const QString&)> sink);
};
